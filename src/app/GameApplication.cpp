#include "app/GameApplication.h"

#include "ui/MainWindow.h"
#include "ui/SplashWindow.h"

GameApplication::GameApplication(const Services &services, QObject *parent)
    : QObject(parent)
    , services_(services)
    , history_(services.boxes, services.wallClock)
    , session_(services)
{
    // The history file is opened at its first use, so that it costs the start-up nothing.
    session_.setHistory(&history_);
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
    main_ = std::make_unique<MainWindow>(session_, history_, services_.boxes, services_.shell);
    main_->setHandOverWait(handOverWaitMs_);
    main_->show();
    splash_->close();
    main_->activate();
}
