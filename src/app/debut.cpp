#include "app/debut.h"

#include "app/Clvglob.h"
#include "app/FileProblems.h"
#include "app/clavimo.h"
#include "game/SoundCue.h"
#include "platform/ProgramEnd.h"
#include "platform/RandomSource.h"
#include "platform/Services.h"
#include "platform/Twips.h"
#include "ui/Artwork.h"
#include "ui/Screen.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {
// Picture1 as designed: 3705 x 2790 twips.
constexpr double kPictureWidth = 3705;
constexpr double kPictureHeight = 2790;
} // namespace

debut::debut(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("Clavimo"));
    Picture1 = new QLabel(this);
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setAlignment(Qt::AlignCenter);
    Picture1->setPixmap(splashPicture());
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Picture1->resize(twipsToPixels(kPictureWidth), twipsToPixels(kPictureHeight));
    Picture1->installEventFilter(this);
    Form_Load();
}

debut::~debut() = default;

void debut::Form_Load()
{
    resize(1, 1); // a window cannot be smaller than one pixel
    Clvglob &g = clvglob();
    g.PlayerCount = 0;
    g.CurrentPlayer = 0;
    services().random->seedFromClock();
}

void debut::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The start-up runs once, even if the window is shown or activated again.
    if (!started_) {
        started_ = true;
        QTimer::singleShot(0, this, &debut::Form_Activate);
    }
}

void debut::Form_Activate()
{
    Clvglob &g = clvglob();
    for (const QString &name : {PlayerFile::fileNameFor(1), SettingsFile::fileName()}) {
        const bool opened = name == SettingsFile::fileName() ? g.settingsFile.open(name)
                                                             : g.playerFile.open(name);
        if (!opened) {
            reportOpenProblem(name, name == SettingsFile::fileName() ? g.settingsFile.errorString()
                                                                     : g.playerFile.errorString());
            g.closeAll();
            close();
            services().end->endNow();
            return;
        }
    }
    if (!g.settingsFile.loadOrCreate(&g.SoundOn))
        reportWriteProblem(SettingsFile::fileName(), g.settingsFile.errorString());
    SoundCue(Cue::Start);

    Picture1->setFocus();
    Growing = true;
    grow();

    main_ = new clavimo;
    main_->show();
    close();
    main_->Form_Activate();
}

void debut::grow()
{
    const int pictureWidth = Picture1->width();
    const int pictureHeight = Picture1->height();
    do {
        // Centred with the size of the previous step, as the position lags the size.
        centreOnScreen(this);
        resize(std::max(1, twipsToPixels(SplashSize * 1.33)), std::max(1, twipsToPixels(SplashSize)));
        Picture1->move((width() - pictureWidth) / 2, (height() - pictureHeight) / 2);
        SplashSize += 1;
        ++steps_;
        QApplication::processEvents();
    } while (pixelsToTwips(width()) < kPictureWidth && Growing);
}

void debut::Picture1_Click()
{
    Growing = false;
}

void debut::Picture1_KeyDown(int KeyCode, int Shift)
{
    Q_UNUSED(KeyCode);
    Q_UNUSED(Shift);
    Growing = false;
}

bool debut::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Picture1) {
        if (event->type() == QEvent::MouseButtonPress) {
            Picture1_Click();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            Picture1_KeyDown(key->key(), int(key->modifiers()));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
