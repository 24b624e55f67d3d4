#include "players/fini.h"

#include "ui/Artwork.h"

#include "app/Clvglob.h"
#include "platform/Twips.h"
#include "ui/Fonts.h"
#include "ui/Screen.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>

namespace {
int waitMs = 2000;
} // namespace

void fini::setWaitIntervalForTests(int ms)
{
    waitMs = ms;
}

int fini::waitInterval()
{
    return waitMs;
}

fini::fini(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("C'est fini !"));
    setFixedSize(twipsToPixels(7935), twipsToPixels(6090));
    setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25, true));
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, Qt::white);
    setPalette(windowPalette);
    setAutoFillBackground(true);
    setCursor(Qt::WaitCursor);

    Frame1 = new QGroupBox(QStringLiteral("C'est fini ! ..."), this);
    Frame1->setGeometry(twipsRect(120, 2040, 5535, 2175));

    Picture2 = new QLabel(Frame1);
    Picture2->setPixmap(handOverIcon());
    Picture2->setGeometry(twipsRect(240, 360, 495, 495));

    label = new QLabel(Frame1);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(twipsRect(360, 1080, 4845, 435));
    label->setAlignment(Qt::AlignCenter);
    label->setFont(designFont(QStringLiteral("MS Sans Serif"), 12, true, false, true));
    QPalette labelPalette = label->palette();
    labelPalette.setColor(QPalette::Window, QColor(192, 192, 192));
    label->setPalette(labelPalette);
    label->setAutoFillBackground(true);

    Timer1 = new QTimer(this);
    Timer1->setInterval(waitMs);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    Form_Load();
}

void fini::Form_Load()
{
    centreOnScreen(this);

    Clvglob &g = clvglob();
    g.CurrentPlayer = g.CurrentPlayer + 1;
    if (g.CurrentPlayer > g.PlayerCount)
        g.CurrentPlayer = 1;
    if (g.PlayerCount > 1)
        label->setText(QStringLiteral("Joueur suivant : ") + g.currentPlayerName());
    else
        label->clear();
}

void fini::Form_Activate()
{
    Timer1->start();
    TimerFired = 0;
    // Blocks in the event loop until something happens (the timer, painting, a close),
    // so the wait costs no processor time.
    while (TimerFired == 0 && !closedEarly_)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Timer1->stop();
    if (!closedEarly_)
        done(QDialog::Accepted);
}

void fini::Timer1_Timer()
{
    TimerFired = 1;
}

void fini::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The wait runs once the window is on the screen, from the event loop that shows
    // it (the modal loop of exec()), not from inside the show itself.
    if (!activated_) {
        activated_ = true;
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                Form_Activate();
        });
    }
}

void fini::closeEvent(QCloseEvent *event)
{
    closedEarly_ = true;
    QDialog::closeEvent(event);
}
