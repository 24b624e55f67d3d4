#pragma once

#include "game/progress/HistoryRows.h"
#include "history/ServerAddress.h"
#include "history/SqlGameRows.h"

#include <QDeadlineTimer>
#include <QSqlDatabase>
#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

class QSqlError;
struct FinishedGame;

// The classroom's history on a PostgreSQL server: the same tables as the history file,
// plus the version table the preparation keeps the schema's number in. The program run by
// the players never makes or changes the schema: a server not prepared for this version
// is told, and the games wait. Used from one thread only (the connection belongs to the
// thread that opens it); every call may wait on the network, so the game never calls it
// directly.
class PostgresStore
{
public:
    // libpq's limit for connecting, in seconds (it counts whole seconds, at least two).
    static constexpr int kConnectTimeoutSeconds = 2;
    // The server's own limit for one statement, so that a lock never holds a game for long.
    static constexpr int kStatementTimeoutMs = 10000;
    // After a failed connection, the next attempt waits this long rather than slow down
    // every call with a new attempt.
    static constexpr int kRetryDelayMs = 5000;

    enum class Status {
        Ready,
        Unreachable,   // no answer, refused, unknown host
        Refused,       // the server answered but refused the user or the password
        Foreign,       // the database holds another program's tables
        Newer,         // the schema was made by a newer version of the program
        Unprepared,    // no schema, an older one, or no rights yet for this role
        Failed,        // anything else the server said
    };

    explicit PostgresStore(const ServerAddress &address);
    ~PostgresStore();
    PostgresStore(const PostgresStore &) = delete;
    PostgresStore &operator=(const PostgresStore &) = delete;

    // Connects when needed and checks that the schema is this version's.
    Status open();
    // Only connects, with the program's settings, whatever the database holds: for the
    // room's preparation and the erasure of a player, which then use database().
    Status connect();
    QSqlDatabase database() const;
    // Why the last open or call failed, in French, for the player's message.
    QString problem() const { return problem_; }

    // Sends one game in one transaction; a game already there (same unique id) counts as
    // sent. False when the server could not take it.
    bool send(const QString &uid, const FinishedGame &game);

    std::optional<QStringList> players();
    std::optional<QList<GameSummary>> games(const QString &player, int mode);
    std::optional<QList<CharacterCount>> characterCounts(const QString &player, int mode);
    std::optional<QList<RecentCharacter>> recentCharacters(const QString &player, int mode, int lastGames);
    std::optional<QList<ItemLine>> itemLines(const QString &player);
    std::optional<LessonHistory> lessons(const QString &player, int lastGames);
    std::optional<QList<PlayerFigures>> classFigures(int mode, const QDateTime &weekStart, int recentGames,
                                                     int characterGames);

    void close();

private:
    Status checkSchema();
    // The status of a schema state (ServerSchema::State), its problem told.
    Status schemaStatus(int state);
    // Closes the connection on a room that cannot take games now, and waits before asking again.
    void refuse(Status status);
    Status fail(Status status, const QSqlError &error);
    // After a failed statement: closes the connection, so that the next call reconnects.
    void dropConnection(const QSqlError &error);
    std::optional<QSqlQuery> select(const QString &sql, const QVariantList &values);
    SqlGameRows::Select selector();

    ServerAddress address_;
    QString connection_;
    Status status_ = Status::Unreachable;
    bool open_ = false;
    QString problem_;
    QDeadlineTimer retryAt_;
};
