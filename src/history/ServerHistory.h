#pragma once

#include "game/progress/GameHistory.h"
#include "game/progress/HistoryReader.h"
#include "history/ServerAddress.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class MessageBoxes;
class PostgresStore;
class ServerLink;
class SqliteHistory;

// The history of a classroom: every finished game goes first into the history file of
// this computer (its outbox), then, from another thread, to the room's PostgreSQL server.
// Keeping a game never waits on the network. The progression is read from the server, so
// that a teacher sees every pupil of the room; when the server does not answer in time, it
// is read from this computer's file instead. The player is told once per run that the
// server cannot be reached and that the games are kept and will be sent.
class ServerHistory : public QObject, public GameHistory, public HistoryReader
{
    Q_OBJECT

public:
    // How long a read of the progression waits for the server before it falls back on the
    // history file: a little more than the time allowed to connect.
    static constexpr int kReadWaitMs = 3000;

    // The file's games waiting from an earlier run are sent at once.
    ServerHistory(SqliteHistory &local, const ServerAddress &address, MessageBoxes &boxes);
    // Stops the sending thread, waiting at most a second for it (see stop()).
    ~ServerHistory() override;

    void record(const FinishedGame &game) override;

    QStringList players() override;
    QList<GameSummary> games(const QString &player, int mode) override;
    QList<CharacterCount> characterCounts(const QString &player, int mode) override;
    QList<RecentCharacter> recentCharacters(const QString &player, int mode, int lastGames) override;
    QList<ItemLine> itemLines(const QString &player) override;
    LessonHistory lessons(const QString &player, int lastGames) override;
    QList<PlayerFigures> classFigures(int mode, const QDateTime &weekStart, int recentGames,
                                      int characterGames) override;

    // Asks for the waiting games to be sent now.
    void flush();
    // Ends the sending thread. False when it is still waiting on a server that does not
    // answer after `waitMs`: the thread is then left to end with the process, which must
    // not wait for it (the games stay in the outbox and go at the next start).
    bool stop(int waitMs);

signals:
    // From the sending thread: nothing is waiting any more.
    void drained();
    // The waiting games could not be sent this time (the reason in French).
    void unavailable(const QString &reason);

private:
    template <class R>
    std::optional<R> ask(std::function<std::optional<R>(PostgresStore &)> question);
    void noteProblem(const QString &reason);
    // Takes the reason by value: it may be the pending reason, cleared here.
    void tell(const QString reason, bool reading);

    SqliteHistory &local_;
    ServerAddress address_;
    MessageBoxes &boxes_;
    std::unique_ptr<QThread> thread_;
    ServerLink *link_ = nullptr; // lives in thread_, deleted there when it ends
    // Questions sent to the thread and not answered yet: while one waits on a server that
    // hangs, the next read goes straight to the file.
    std::shared_ptr<std::atomic<int>> unanswered_;
    QString pending_;
    bool told_ = false;
    bool stopped_ = false;
};
