#include "history/ServerSchema.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

// Each step brings the server's schema from version i to i + 1, in one transaction; a
// later version of the program appends its step and never changes the earlier ones.
const QList<QStringList> kMigrationSteps = {
    // 0 -> 1: the tables of the history file, with the unique id of each game.
    {
        QStringLiteral("CREATE TABLE games(id BIGSERIAL PRIMARY KEY, uid TEXT NOT NULL UNIQUE, player TEXT NOT NULL,"
                       " mode INTEGER NOT NULL, started_at TEXT NOT NULL, finished_at TEXT NOT NULL,"
                       " mini BIGINT NOT NULL, average BIGINT NOT NULL, wrong_keys BIGINT NOT NULL)"),
        QStringLiteral("CREATE TABLE items(game_id BIGINT NOT NULL REFERENCES games(id), position INTEGER NOT NULL,"
                       " shown TEXT NOT NULL, time_ms BIGINT NOT NULL, raw_ms BIGINT NOT NULL,"
                       " wrong_keys BIGINT NOT NULL, PRIMARY KEY(game_id, position))"),
        // id keeps the order the keys were typed in, as the file's row order does.
        QStringLiteral("CREATE TABLE mistakes(id BIGSERIAL PRIMARY KEY, game_id BIGINT NOT NULL REFERENCES games(id),"
                       " position INTEGER NOT NULL, expected TEXT NOT NULL, typed TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE expected_chars(game_id BIGINT NOT NULL REFERENCES games(id),"
                       " character TEXT NOT NULL, count BIGINT NOT NULL, PRIMARY KEY(game_id, character))"),
        QStringLiteral("CREATE INDEX games_by_player ON games(player, mode, finished_at)"),
        QStringLiteral("CREATE INDEX mistakes_by_game ON mistakes(game_id)"),
    },
    // 1 -> 2: targeted practice games are marked; every game kept before was an ordinary one.
    {
        QStringLiteral("ALTER TABLE games ADD COLUMN practice INTEGER NOT NULL DEFAULT 0"),
    },
    // 2 -> 3: rows no game can produce are refused, so that a statement typed by hand with
    // the computers' password cannot put nonsense into the class's history. NOT VALID: the
    // rows already there are kept as they are; every new row is checked.
    {
        QStringLiteral("ALTER TABLE games ADD CONSTRAINT games_plausible CHECK (mode IN (1, 6) AND mini >= 0"
                       " AND mini <= average AND wrong_keys >= 0 AND practice IN (0, 1)) NOT VALID"),
        QStringLiteral("ALTER TABLE items ADD CONSTRAINT items_plausible CHECK (position BETWEEN 1 AND 20"
                       " AND raw_ms >= 0 AND time_ms >= raw_ms AND wrong_keys >= 0) NOT VALID"),
        QStringLiteral("ALTER TABLE mistakes ADD CONSTRAINT mistakes_plausible CHECK (position BETWEEN 1 AND 20) NOT VALID"),
        QStringLiteral("ALTER TABLE expected_chars ADD CONSTRAINT expected_chars_plausible CHECK (count > 0) NOT VALID"),
        // A game has its 20 items when its transaction ends: checked at the commit, once
        // the items inserted after the game are there.
        QStringLiteral("CREATE FUNCTION clavimo_game_has_20_items() RETURNS trigger LANGUAGE plpgsql AS $$"
                       " BEGIN"
                       " IF (SELECT count(*) FROM items WHERE game_id = NEW.id) <> 20 THEN"
                       " RAISE EXCEPTION 'a game has 20 items' USING ERRCODE = 'check_violation';"
                       " END IF;"
                       " RETURN NULL;"
                       " END $$"),
        QStringLiteral("CREATE CONSTRAINT TRIGGER games_have_20_items AFTER INSERT ON games"
                       " DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION clavimo_game_has_20_items()"),
    },
    // 3 -> 4: the lessons of the keyboard course, mode 0, marked with the number of keys
    // they were played with and the player's speed target; null for every other game.
    {
        QStringLiteral("ALTER TABLE games ADD COLUMN lesson_keys INTEGER"),
        QStringLiteral("ALTER TABLE games ADD COLUMN lesson_target_ms INTEGER"),
        QStringLiteral("ALTER TABLE games DROP CONSTRAINT games_plausible"),
        QStringLiteral("ALTER TABLE games ADD CONSTRAINT games_plausible CHECK (((mode IN (1, 6) AND lesson_keys IS NULL"
                       " AND lesson_target_ms IS NULL) OR (mode = 0 AND practice = 0 AND lesson_keys > 0"
                       " AND lesson_target_ms > 0)) AND mini >= 0 AND mini <= average AND wrong_keys >= 0"
                       " AND practice IN (0, 1)) NOT VALID"),
    },
};

} // namespace

namespace ServerSchema {

std::optional<Found> inspect(QSqlQuery &q)
{
    if (!q.exec(QStringLiteral("SELECT to_regclass('clavimo_schema') IS NOT NULL,"
                               " (SELECT count(*) FROM pg_catalog.pg_tables WHERE schemaname = current_schema())"))
        || !q.next())
        return std::nullopt;
    const bool versioned = q.value(0).toBool();
    const qint64 tables = q.value(1).toLongLong();
    Found found;
    if (!versioned) {
        // Tables without the version table belong to some other program.
        found.state = tables > 0 ? State::Foreign : State::Missing;
        return found;
    }
    if (!q.exec(QStringLiteral("SELECT COALESCE(MAX(version), 0) FROM clavimo_schema")) || !q.next())
        return std::nullopt;
    found.version = q.value(0).toInt();
    found.state = found.version > kVersion ? State::Newer
        : found.version < kVersion         ? State::Older
                                           : State::Current;
    return found;
}

std::optional<Found> migrate(const QSqlDatabase &db, QSqlError *error)
{
    QSqlQuery q(db);
    auto failed = [&q, error]() -> std::optional<Found> {
        *error = q.lastError();
        q.exec(QStringLiteral("ROLLBACK"));
        return std::nullopt;
    };
    std::optional<Found> before;
    for (;;) {
        if (!q.exec(QStringLiteral("BEGIN")) || !q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kLock)))
            return failed();
        const auto found = inspect(q);
        if (!found)
            return failed();
        if (!before)
            before = found;
        if (found->state != State::Missing && found->state != State::Older) {
            q.exec(QStringLiteral("ROLLBACK"));
            return before;
        }
        if (found->state == State::Missing && !q.exec(QStringLiteral("CREATE TABLE clavimo_schema(version INTEGER NOT NULL)")))
            return failed();
        for (const QString &statement : kMigrationSteps[found->version]) {
            if (!q.exec(statement))
                return failed();
        }
        if (!q.exec(QStringLiteral("DELETE FROM clavimo_schema"))
            || !q.exec(QStringLiteral("INSERT INTO clavimo_schema(version) VALUES(%1)").arg(found->version + 1))
            || !q.exec(QStringLiteral("COMMIT")))
            return failed();
    }
}

} // namespace ServerSchema
