#include "ui/SplashWindow.h"

#include "game/session/GameSession.h"
#include "ui/Artwork.h"
#include "ui/Screen.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include <chrono>
#include <thread>

namespace {
// The picture as designed: 3705 x 2790 twips.
constexpr double kPictureWidth = 3705;
constexpr double kPictureHeight = 2790;
// How long the growth lasts when the frame grows inside the window: as long as the window
// itself takes to grow under X11, where every step resizes it on the screen (measured at
// 480 ms under Xvfb); the frame alone would grow several times faster.
constexpr std::chrono::milliseconds kFrameGrowth(500);

// The size of the growing area at a step: one twip of height and 1.33 of width a step.
QSize stepSize(float splashSize)
{
    return {std::max(1, twipsToPixels(splashSize * 1.33)), std::max(1, twipsToPixels(splashSize))};
}

// The last step, the first as wide as the picture, counted from 0.
int finalStep()
{
    int step = 0;
    while (pixelsToTwips(stepSize(float(step)).width()) < kPictureWidth)
        ++step;
    return step;
}
} // namespace

SplashWindow::SplashWindow(GameSession &session, Placement placement, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , session_(session)
    , placement_(placement)
{
    setWindowTitle(QStringLiteral("Clavimo"));
    area_ = this;
    if (placement_ == Placement::ByCompositor) {
        // The window's own background is see-through, so that around the growing frame
        // the desktop shows as around a growing window.
        setAttribute(Qt::WA_TranslucentBackground);
        setFixedSize(stepSize(float(finalStep())));
        area_ = new QWidget(this);
        area_->setObjectName(QStringLiteral("growingArea"));
        area_->setAutoFillBackground(true);
    }
    picture_ = new QLabel(area_);
    picture_->setObjectName(QStringLiteral("picture"));
    picture_->setFrameShape(QFrame::Box);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setPixmap(splashPicture());
    picture_->setAccessibleName(QStringLiteral("Clavimo, image d'accueil"));
    picture_->setFocusPolicy(Qt::StrongFocus);
    picture_->resize(twipsToPixels(kPictureWidth), twipsToPixels(kPictureHeight));
    picture_->installEventFilter(this);

    // The growth starts from one pixel, the smallest a window can be, in the middle of
    // the window when the compositor places it.
    if (area_ == this)
        resize(1, 1);
    else
        area_->setGeometry(width() / 2, height() / 2, 1, 1);
    session_.prepare();
}

SplashWindow::Placement SplashWindow::defaultPlacement()
{
    return programPlacesWindows() ? Placement::ByProgram : Placement::ByCompositor;
}

void SplashWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The start-up runs once, even if the window is shown or activated again.
    if (!started_) {
        started_ = true;
        QTimer::singleShot(0, this, &SplashWindow::start);
    }
}

void SplashWindow::start()
{
    if (!session_.openFiles()) {
        close();
        session_.endProgram();
        return;
    }
    session_.playStartCue();

    picture_->setFocus();
    growing_ = true;
    grow();
    emit finished();
}

void SplashWindow::grow()
{
    const int pictureWidth = picture_->width();
    const int pictureHeight = picture_->height();
    const auto begin = std::chrono::steady_clock::now();
    const auto growth = std::chrono::duration_cast<std::chrono::microseconds>(kFrameGrowth);
    const int lastStep = finalStep();
    do {
        const QSize size = stepSize(splashSize_);
        if (placement_ == Placement::ByProgram) {
            // Centred with the size of the previous step, as the position lags the size.
            centreOnScreen(this);
            resize(size);
        } else {
            area_->setGeometry(QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size));
            std::this_thread::sleep_until(begin + growth * steps_ / lastStep);
        }
        picture_->move((area_->width() - pictureWidth) / 2, (area_->height() - pictureHeight) / 2);
        splashSize_ += 1;
        ++steps_;
        QApplication::processEvents();
    } while (pixelsToTwips(area_->width()) < kPictureWidth && growing_);
}

bool SplashWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == picture_
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)) {
        growing_ = false;
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
