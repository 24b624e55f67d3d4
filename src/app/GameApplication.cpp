#include "app/GameApplication.h"

#include "history/ServerHistory.h"
#include "ui/ActivationRequests.h"
#include "ui/CourseWindow.h"
#include "ui/MainWindow.h"
#include "ui/Screen.h"
#include "ui/SplashWindow.h"

GameApplication::GameApplication(const Services &services, const HistoryPlace &place, QObject *parent)
    : QObject(parent)
    , services_(services)
    , history_(services.boxes, services.wallClock, place.file)
    , session_(services)
{
    // The history file is opened at its first use, so that it costs the start-up nothing;
    // the server's connection is made by its own thread.
    if (place.server)
        server_ = std::make_unique<ServerHistory>(history_, *place.server, services.boxes);
    session_.setHistory(server_ ? static_cast<GameHistory *>(server_.get()) : &history_);
    session_.setHistoryReader(server_ ? static_cast<HistoryReader *>(server_.get()) : &history_);
    if (!programPlacesWindows())
        activation_ = std::make_unique<ActivationRequests>();
}

bool GameApplication::stopHistory(int waitMs)
{
    return !server_ || server_->stop(waitMs);
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
    HistoryReader &reader = server_ ? static_cast<HistoryReader &>(*server_) : history_;
    main_ = std::make_unique<MainWindow>(session_, reader, services_.boxes, services_.shell, layouts_);
    main_->setHandOverWait(handOverWaitMs_);
    GameHistory *writer = server_ ? static_cast<GameHistory *>(server_.get()) : &history_;
    main_->setCourseOpener([this, &reader, writer](QWidget *owner, const QString &player) {
        CourseWindow course(services_, reader, writer, layouts_, player, owner);
        course.exec();
    });
    main_->show();
    splash_->close();
    main_->activate();
}
