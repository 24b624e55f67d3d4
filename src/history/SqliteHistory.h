#pragma once

#include "game/progress/GameHistory.h"
#include "game/progress/HistoryReader.h"
#include "history/SqlGameRows.h"
#include "platform/HistoryLocation.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QSqlQuery>
#include <QVariantList>

#include <optional>

class MessageBoxes;
class QSqlError;
class WallClock;

// The history of finished games in an SQLite file (beside the record files, or in the
// user's own folder when those are on a network), written in one transaction per game and
// read for the progression window. With a classroom's server, each game kept also waits
// in the file's outbox until it has been sent. The schema is documented in
// the README: other programs read it, so it only changes through a new version and its
// migration step.
//
// The file is opened at its first use. A file that is not a history (damaged, not a
// database, or left by a newer version) is moved aside with its companion files and a
// fresh history starts; a folder where the file cannot be written leaves the history
// unkept. Either way the player is told once, and the game goes on.
class SqliteHistory : public GameHistory, public HistoryReader
{
public:
    static constexpr int kSchemaVersion = 4;
    static QString fileName() { return historyFileName(); }

    SqliteHistory(MessageBoxes &boxes, WallClock &clock, const QString &path = fileName());
    ~SqliteHistory() override;
    SqliteHistory(const SqliteHistory &) = delete;
    SqliteHistory &operator=(const SqliteHistory &) = delete;

    void record(const FinishedGame &game) override;

    QStringList players() override;
    QList<GameSummary> games(const QString &player, int mode) override;
    QList<CharacterCount> characterCounts(const QString &player, int mode) override;
    QList<RecentCharacter> recentCharacters(const QString &player, int mode, int lastGames) override;
    QList<ItemLine> itemLines(const QString &player) override;
    LessonHistory lessons(const QString &player, int lastGames) override;
    QList<PlayerFigures> classFigures(int mode, const QDateTime &weekStart, int recentGames,
                                      int characterGames) override;

    QString path() const { return path_; }
    // Whether each game kept is also put in the outbox, to be sent to a classroom's server.
    void setOutbox(bool on) { outbox_ = on; }

private:
    enum class State { Closed, Ready };
    // What the file turned out to be when opened.
    enum class Check { Usable, Damaged, Newer, Failed };

    bool ensureOpen();
    // Runs a reading query with its values bound in order; nothing when the file cannot
    // answer.
    std::optional<QSqlQuery> select(const QString &sql, const QVariantList &values);
    SqlGameRows::Select selector();
    // Opens the file and brings its schema to the current version. A file that is not a
    // usable history is moved aside (when allowed), then a fresh one is opened.
    bool open(bool mayMoveAside);
    Check connectAndCheck(QSqlError *error);
    // Runs the migration steps from the file's version to the program's.
    static Check migrate(QSqlQuery &q, QSqlError *error);
    static Check classify(const QSqlError &found, QSqlError *error);
    // The game in one transaction.
    bool write(const FinishedGame &game, QSqlError *error);
    bool insert(const FinishedGame &game, QSqlError *error);
    // Closes the connection and renames the file and its companions; true when the main
    // file is out of the way.
    bool moveAside(bool newer);
    void close();
    // The player is told of a history problem only once per run.
    void tell(const QString &text);
    void tellNotKept(const QString &reason);
    static bool isDamage(const QSqlError &error);

    MessageBoxes &boxes_;
    WallClock &clock_;
    QString path_;
    QString connection_;
    State state_ = State::Closed;
    bool told_ = false;
    bool outbox_ = false;
    // Set when a damaged file could not be moved aside whole: no new file is started.
    bool stopped_ = false;
};
