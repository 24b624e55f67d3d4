#pragma once

#include "game/GameSession.h"
#include "ui/SqliteHistory.h"
#include "platform/Services.h"

#include <QObject>

#include <memory>

class MainWindow;
class SplashWindow;

// The composition root: the game session over the services it is given and the history
// of finished games in the working folder, the start-up window, then the main window once
// the start-up is over.
class GameApplication : public QObject
{
    Q_OBJECT

public:
    explicit GameApplication(const Services &services, QObject *parent = nullptr);
    ~GameApplication() override;

    // Shows the start-up window; the main window follows by itself.
    void start();

    GameSession &session() { return session_; }
    SqliteHistory &history() { return history_; }
    SplashWindow *splashWindow() const { return splash_.get(); }
    // Null until the start-up is over.
    MainWindow *mainWindow() const { return main_.get(); }
    // How long the hand-over window stays between two games, in milliseconds.
    void setHandOverWait(int ms) { handOverWaitMs_ = ms; }

private:
    void showMainWindow();

    Services services_;
    SqliteHistory history_;
    GameSession session_;
    std::unique_ptr<SplashWindow> splash_;
    std::unique_ptr<MainWindow> main_;
    int handOverWaitMs_ = 2000;
};
