#include "ui/SplashWindow.h"

#include "game/GameSession.h"
#include "ui/Artwork.h"
#include "ui/Screen.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {
// The picture as designed: 3705 x 2790 twips.
constexpr double kPictureWidth = 3705;
constexpr double kPictureHeight = 2790;
} // namespace

SplashWindow::SplashWindow(GameSession &session, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , session_(session)
{
    setWindowTitle(QStringLiteral("Clavimo"));
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("picture"));
    picture_->setFrameShape(QFrame::Box);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setPixmap(splashPicture());
    picture_->setAccessibleName(QStringLiteral("Clavimo, image d'accueil"));
    picture_->setFocusPolicy(Qt::StrongFocus);
    picture_->resize(twipsToPixels(kPictureWidth), twipsToPixels(kPictureHeight));
    picture_->installEventFilter(this);

    resize(1, 1); // a window cannot be smaller than one pixel
    session_.prepare();
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
    do {
        // Centred with the size of the previous step, as the position lags the size.
        centreOnScreen(this);
        resize(std::max(1, twipsToPixels(splashSize_ * 1.33)), std::max(1, twipsToPixels(splashSize_)));
        picture_->move((width() - pictureWidth) / 2, (height() - pictureHeight) / 2);
        splashSize_ += 1;
        ++steps_;
        QApplication::processEvents();
    } while (pixelsToTwips(width()) < kPictureWidth && growing_);
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
