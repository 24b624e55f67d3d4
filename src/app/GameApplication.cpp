#include "app/GameApplication.h"

#include "ui/MainWindow.h"
#include "ui/SplashWindow.h"

GameApplication::GameApplication(const Services &services, QObject *parent)
    : QObject(parent)
    , services_(services)
    , session_(services)
{
}

GameApplication::~GameApplication() = default;

void GameApplication::start()
{
    splash_ = std::make_unique<SplashWindow>(session_);
    connect(splash_.get(), &SplashWindow::finished, this, &GameApplication::showMainWindow);
    splash_->show();
}

void GameApplication::showMainWindow()
{
    // Made only now, as the sound setting it shows has just been read.
    main_ = std::make_unique<MainWindow>(session_, services_.boxes, services_.shell);
    main_->setHandOverWait(handOverWaitMs_);
    main_->show();
    splash_->close();
    main_->activate();
}
