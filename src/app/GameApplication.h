#pragma once

#include "game/session/GameSession.h"
#include "game/keyboard/KeyboardLayouts.h"
#include "history/ServerAddress.h"
#include "history/SqliteHistory.h"
#include "platform/Services.h"
#include "platform/SettingsLayoutMemory.h"
#include "adapters/X11KeyboardNames.h"
#include "adapters/XkbKeyboards.h"

#include <QObject>

#include <memory>

class MainWindow;
class ServerHistory;
class ActivationRequests;
class SplashWindow;

// Where the finished games go: the history file, and a classroom's server when one is
// configured (the file then keeps the games on their way to it).
struct HistoryPlace
{
    QString file = SqliteHistory::fileName();
    std::optional<ServerAddress> server;
};

// The composition root: the game session over the services it is given and the history
// of finished games, the start-up window, then the main window once the start-up is over.
class GameApplication : public QObject
{
    Q_OBJECT

public:
    explicit GameApplication(const Services &services, const HistoryPlace &place = {}, QObject *parent = nullptr);
    ~GameApplication() override;

    // Shows the start-up window; the main window follows by itself.
    void start();

    GameSession &session() { return session_; }
    // The history file of this computer.
    SqliteHistory &history() { return history_; }
    // The classroom's server, or null when there is none.
    ServerHistory *serverHistory() const { return server_.get(); }
    // Ends the thread that sends games to the server. False when it is stuck on a server
    // that does not answer: the process must then end without waiting for it.
    bool stopHistory(int waitMs);
    SplashWindow *splashWindow() const { return splash_.get(); }
    // Null until the start-up is over.
    MainWindow *mainWindow() const { return main_.get(); }
    // How long the hand-over window stays between two games, in milliseconds.
    void setHandOverWait(int ms) { handOverWaitMs_ = ms; }

private:
    void showMainWindow();

    Services services_;
    SqliteHistory history_;
    std::unique_ptr<ServerHistory> server_;
    GameSession session_;
    // The progression map's keyboards: the system's keyboard data, the X server's names
    // for the one in use, and the last one chosen, in the user's settings file.
    XkbKeyboards keyboards_;
    X11KeyboardNames serverKeyboard_;
    SettingsLayoutMemory layoutMemory_;
    KeyboardLayouts layouts_{keyboards_, serverKeyboard_, layoutMemory_};
    // Under a compositor, the windows ask to be activated only when no box is open over
    // them (null where the program places its windows).
    std::unique_ptr<ActivationRequests> activation_;
    std::unique_ptr<SplashWindow> splash_;
    std::unique_ptr<MainWindow> main_;
    int handOverWaitMs_ = 2000;
};
