#include "ui/HandOverWindow.h"

#include "ui/Artwork.h"
#include "ui/Fonts.h"
#include "ui/Screen.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>

HandOverWindow::HandOverWindow(const QString &nextPlayer, int waitMs, QWidget *parent)
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

    auto *frame = new QGroupBox(QStringLiteral("C'est fini ! ..."), this);
    frame->setGeometry(twipsRect(120, 2040, 5535, 2175));

    auto *picture = new QLabel(frame);
    picture->setPixmap(handOverIcon());
    picture->setAccessibleName(QStringLiteral("Image du changement de joueur"));
    picture->setGeometry(twipsRect(240, 360, 495, 495));

    auto *label = new QLabel(frame);
    label->setObjectName(QStringLiteral("nextPlayer"));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(twipsRect(360, 1080, 4845, 435));
    label->setAlignment(Qt::AlignCenter);
    label->setFont(designFont(QStringLiteral("MS Sans Serif"), 12, true, false, true));
    QPalette labelPalette = label->palette();
    labelPalette.setColor(QPalette::Window, QColor(192, 192, 192));
    label->setPalette(labelPalette);
    label->setAutoFillBackground(true);

    timer_ = new QTimer(this);
    timer_->setInterval(waitMs);
    connect(timer_, &QTimer::timeout, this, [this] { timerFired_ = true; });

    centreOnScreen(this);
    if (!nextPlayer.isEmpty())
        label->setText(QStringLiteral("Joueur suivant : ") + nextPlayer);
}

void HandOverWindow::waitAndClose()
{
    timer_->start();
    timerFired_ = false;
    // Blocks in the event loop until something happens (the timer, painting, a close),
    // so the wait costs no processor time.
    while (!timerFired_ && !closedEarly_)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    timer_->stop();
    if (!closedEarly_)
        done(QDialog::Accepted);
}

void HandOverWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The wait runs once the window is on the screen, from the event loop that shows
    // it (the modal loop of exec()), not from inside the show itself.
    if (!activated_) {
        activated_ = true;
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                waitAndClose();
        });
    }
}

void HandOverWindow::closeEvent(QCloseEvent *event)
{
    closedEarly_ = true;
    QDialog::closeEvent(event);
}
