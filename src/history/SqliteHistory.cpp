#include "history/SqliteHistory.h"

#include "game/session/FinishedGame.h"
#include "history/SqlGameRows.h"
#include "platform/Services.h"

#include <QAtomicInt>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>
#include <QVariant>

#include <optional>

namespace {

const QString kTitle = QStringLiteral("Clavimo");
const QString kDriver = QStringLiteral("QSQLITE");
// SQLite's own companions of a database file, moved aside with it.
const QStringList kCompanions = {QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")};

// SQLite's primary result codes that the history tells apart.
enum SqliteCode {
    kPerm = 3,
    kBusy = 5,
    kLocked = 6,
    kReadOnly = 8,
    kIoError = 10,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kAuth = 23,
    kNotADatabase = 26,
};

int primaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xFF : -1;
}

constexpr int kBusyTimeoutMs = 5000;

// Runs a statement that SQLite answers "busy" at once, without its busy handler, while
// another program has the file open: switching to WAL needs the file to itself for an
// instant. It is tried again for as long as any other statement would wait.
bool execWhenFree(QSqlQuery &q, const QString &sql)
{
    const QDeadlineTimer deadline(kBusyTimeoutMs);
    while (!q.exec(sql)) {
        const int code = primaryCode(q.lastError());
        if ((code != kBusy && code != kLocked) || deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}

// Why the file could not be used, in French for the player's message.
QString reasonFor(const QSqlError &error)
{
    switch (primaryCode(error)) {
    case kPerm:
    case kAuth: return QStringLiteral("accès refusé");
    case kBusy:
    case kLocked: return QStringLiteral("fichier occupé trop longtemps par un autre programme");
    case kReadOnly: return QStringLiteral("écriture refusée");
    case kIoError: return QStringLiteral("erreur de lecture ou d'écriture sur le disque");
    case kFull: return QStringLiteral("disque plein");
    case kCantOpen: return QStringLiteral("ouverture impossible");
    case -1: return QStringLiteral("base de données inutilisable");
    default: return QStringLiteral("erreur SQLite n° %1").arg(primaryCode(error));
    }
}

// Each step brings the file from version i to version i + 1, in one transaction; a later
// version of the program appends its step and never changes the earlier ones.
const QList<QStringList> kMigrationSteps = {
    // 0 -> 1: the first schema.
    {
        QStringLiteral("CREATE TABLE games(id INTEGER PRIMARY KEY, player TEXT NOT NULL, mode INTEGER NOT NULL,"
                       " started_at TEXT NOT NULL, finished_at TEXT NOT NULL, mini INTEGER NOT NULL,"
                       " average INTEGER NOT NULL, wrong_keys INTEGER NOT NULL)"),
        QStringLiteral("CREATE TABLE items(game_id INTEGER NOT NULL REFERENCES games(id), position INTEGER NOT NULL,"
                       " shown TEXT NOT NULL, time_ms INTEGER NOT NULL, raw_ms INTEGER NOT NULL,"
                       " wrong_keys INTEGER NOT NULL, PRIMARY KEY(game_id, position)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE mistakes(game_id INTEGER NOT NULL REFERENCES games(id),"
                       " position INTEGER NOT NULL, expected TEXT NOT NULL, typed TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE expected_chars(game_id INTEGER NOT NULL REFERENCES games(id),"
                       " character TEXT NOT NULL, count INTEGER NOT NULL, PRIMARY KEY(game_id, character))"
                       " WITHOUT ROWID"),
        QStringLiteral("CREATE INDEX games_by_player ON games(player, mode, finished_at)"),
        QStringLiteral("CREATE INDEX mistakes_by_game ON mistakes(game_id)"),
    },
    // 1 -> 2: a unique id per game, made on the computer that played it, and the outbox of
    // the games not yet sent to a classroom's server. Games kept before have no id: they
    // were never meant for a server.
    {
        QStringLiteral("ALTER TABLE games ADD COLUMN uid TEXT"),
        QStringLiteral("CREATE UNIQUE INDEX games_by_uid ON games(uid)"),
        QStringLiteral("CREATE TABLE outbox(game_id INTEGER PRIMARY KEY REFERENCES games(id))"),
    },
    // 2 -> 3: targeted practice games are marked, so that they stay out of the record
    // lines. Every game kept before was an ordinary one.
    {
        QStringLiteral("ALTER TABLE games ADD COLUMN practice INTEGER NOT NULL DEFAULT 0"),
    },
    // 3 -> 4: the lessons of the keyboard course (mode 0) are marked with the number of
    // keys they were played with and the player's speed target; null for every other game.
    {
        QStringLiteral("ALTER TABLE games ADD COLUMN lesson_keys INTEGER"),
        QStringLiteral("ALTER TABLE games ADD COLUMN lesson_target_ms INTEGER"),
    },
};

QAtomicInt connectionCount;

// Whether the file starts like an SQLite database, or is empty or missing (a fresh
// history). Checked before SQLite opens the file, because opening it may already rewrite
// the companion files of something that is no database at all.
bool looksLikeDatabase(const QString &path)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return true; // nothing to protect, or SQLite will say why it cannot open it
    const QByteArray magic = file.read(16);
    return magic.isEmpty() || magic == QByteArray("SQLite format 3\0", 16);
}

} // namespace

SqliteHistory::SqliteHistory(MessageBoxes &boxes, WallClock &clock, const QString &path)
    : boxes_(boxes)
    , clock_(clock)
    , path_(path)
    , connection_(QStringLiteral("clavimo-history-%1").arg(connectionCount.fetchAndAddRelaxed(1)))
{
}

SqliteHistory::~SqliteHistory()
{
    close();
}

bool SqliteHistory::ensureOpen()
{
    // A history that could not be opened is tried again at its next use, without a new
    // message: the folder may have become writable meanwhile.
    return state_ == State::Ready || (!stopped_ && open(true));
}

bool SqliteHistory::open(bool mayMoveAside)
{
    close();
    if (!QSqlDatabase::isDriverAvailable(kDriver)) {
        tellNotKept(QStringLiteral("le module SQLite de Qt est absent"));
        return false;
    }
    if (QFileInfo(path_).isDir()) {
        tellNotKept(QStringLiteral("un dossier porte ce nom"));
        return false;
    }
    QSqlError error;
    const Check check = looksLikeDatabase(path_) ? connectAndCheck(&error) : Check::Damaged;
    if (check == Check::Usable) {
        state_ = State::Ready;
        return true;
    }
    close();
    if (check == Check::Failed) {
        tellNotKept(reasonFor(error));
        return false;
    }
    if (!mayMoveAside) {
        tellNotKept(QStringLiteral("fichier illisible"));
        return false;
    }
    return moveAside(check == Check::Newer) && open(false);
}

SqliteHistory::Check SqliteHistory::connectAndCheck(QSqlError *error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(kDriver, connection_);
    db.setDatabaseName(path_);
    // Two programs on one folder wait for each other's transaction rather than fail.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open()) {
        *error = db.lastError();
        return Check::Failed;
    }
    QSqlQuery q(db);
    // The first read of the file tells a database from anything else. The version and the
    // tables are read in one statement, so that another program creating the schema
    // meanwhile cannot be seen half-way.
    if (!q.exec(QStringLiteral("SELECT (SELECT user_version FROM pragma_user_version),"
                               " (SELECT count(*) FROM sqlite_master)"))
        || !q.next())
        return classify(q.lastError(), error);
    const int version = q.value(0).toInt();
    if (version > kSchemaVersion)
        return Check::Newer;
    // Tables without a version belong to some other program's database that happens to
    // bear the name: it is not written into.
    if (version == 0 && q.value(1).toInt() > 0)
        return Check::Damaged;
    // WAL with full synchronisation: a game whose transaction has returned is on the disk,
    // and a reader never waits for a writer.
    for (const char *pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=ON"}) {
        if (!execWhenFree(q, QLatin1String(pragma)))
            return classify(q.lastError(), error);
    }
    return migrate(q, error);
}

SqliteHistory::Check SqliteHistory::migrate(QSqlQuery &q, QSqlError *error)
{
    // The version is read again inside the write transaction: another program may have
    // brought the file up to date since the first look.
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return classify(q.lastError(), error);
    auto failed = [&q, error] {
        const QSqlError e = q.lastError();
        q.exec(QStringLiteral("ROLLBACK"));
        return classify(e, error);
    };
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return failed();
    const int version = q.value(0).toInt();
    if (version > kSchemaVersion) {
        q.exec(QStringLiteral("ROLLBACK"));
        return Check::Newer;
    }
    for (int step = version; step < kSchemaVersion; ++step) {
        for (const QString &statement : kMigrationSteps[step]) {
            if (!q.exec(statement))
                return failed();
        }
    }
    if (version < kSchemaVersion && !q.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion)))
        return failed();
    if (!q.exec(QStringLiteral("COMMIT")))
        return failed();
    return Check::Usable;
}

SqliteHistory::Check SqliteHistory::classify(const QSqlError &found, QSqlError *error)
{
    *error = found;
    return isDamage(found) ? Check::Damaged : Check::Failed;
}

void SqliteHistory::record(const FinishedGame &game)
{
    if (!ensureOpen())
        return;
    QSqlError error;
    if (write(game, &error))
        return;
    // Damage found while writing: the damaged file goes aside and the game goes into a
    // fresh one.
    if (isDamage(error)) {
        if (moveAside(false) && open(false) && write(game, &error))
            return;
        if (state_ != State::Ready)
            return; // the player has been told
    }
    tell(QStringLiteral("La partie n'a pas pu être ajoutée à l'historique «\u00A0%1\u00A0» (%2).")
             .arg(QFileInfo(path_).fileName(), reasonFor(error)));
}

bool SqliteHistory::write(const FinishedGame &game, QSqlError *error)
{
    QSqlQuery transaction(QSqlDatabase::database(connection_, false));
    if (!transaction.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        *error = transaction.lastError();
        return false;
    }
    if (insert(game, error)) {
        if (transaction.exec(QStringLiteral("COMMIT")))
            return true;
        *error = transaction.lastError();
    }
    transaction.exec(QStringLiteral("ROLLBACK"));
    return false;
}

bool SqliteHistory::insert(const FinishedGame &game, QSqlError *error)
{
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    const QString uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool inserted = false;
    if (!SqlGameRows::insert(db, game, uid, &inserted, error))
        return false;
    if (!outbox_)
        return true;
    // The game waits here for the classroom's server, kept in the same transaction.
    QSqlQuery waiting(db);
    waiting.prepare(QStringLiteral("INSERT INTO outbox(game_id) SELECT id FROM games WHERE uid = ?"));
    waiting.addBindValue(uid);
    if (waiting.exec())
        return true;
    *error = waiting.lastError();
    return false;
}

bool SqliteHistory::moveAside(bool newer)
{
    close();
    const QString base = path_ + QStringLiteral(".illisible-")
        + clock_.nowUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = base;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = base + QStringLiteral("-%1").arg(n);
    const QString name = QFileInfo(path_).fileName();
    QFile file(path_);
    if (!file.rename(target)) {
        tell(QStringLiteral("Le fichier d'historique «\u00A0%1\u00A0» est illisible et n'a pas pu être renommé\u00A0: "
                            "l'historique des parties n'est pas conservé.")
                 .arg(name));
        return false;
    }
    for (const QString &suffix : kCompanions) {
        QFile companion(path_ + suffix);
        if (!companion.exists() || companion.rename(target + suffix))
            continue;
        // The shared-memory index holds no data and is rebuilt; a log left behind would be
        // replayed into a fresh file, so the history stops for this run rather than mix the
        // two.
        if (suffix == QLatin1String("-shm") && companion.remove())
            continue;
        stopped_ = true;
        tell(QStringLiteral("Le fichier d'historique «\u00A0%1\u00A0» est illisible et son journal «\u00A0%2\u00A0» n'a pas pu être "
                            "renommé\u00A0: l'historique des parties n'est pas conservé.")
                 .arg(name, QFileInfo(companion).fileName()));
        return false;
    }
    const QString asideName = QFileInfo(target).fileName();
    if (newer)
        tell(QStringLiteral("Le fichier d'historique «\u00A0%1\u00A0» vient d'une version plus récente de Clavimo\u00A0: il a été mis "
                            "de côté sous le nom «\u00A0%2\u00A0» et un nouvel historique commence.")
                 .arg(name, asideName));
    else
        tell(QStringLiteral("Le fichier d'historique «\u00A0%1\u00A0» est illisible\u00A0: il a été mis de côté sous le nom «\u00A0%2\u00A0» "
                            "et un nouvel historique commence.")
                 .arg(name, asideName));
    return true;
}

void SqliteHistory::close()
{
    state_ = State::Closed;
    if (!QSqlDatabase::contains(connection_))
        return;
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

void SqliteHistory::tell(const QString &text)
{
    if (told_)
        return;
    told_ = true;
    boxes_.show(text, kTitle, BoxButtons::Ok, BoxIcon::Exclamation);
}

void SqliteHistory::tellNotKept(const QString &reason)
{
    tell(QStringLiteral("Le fichier d'historique «\u00A0%1\u00A0» ne peut pas être écrit dans le dossier de travail (%2)\u00A0: "
                        "l'historique des parties n'est pas conservé.")
             .arg(QFileInfo(path_).fileName(), reason));
}

bool SqliteHistory::isDamage(const QSqlError &error)
{
    const int code = primaryCode(error);
    return code == kCorrupt || code == kNotADatabase;
}

std::optional<QSqlQuery> SqliteHistory::select(const QString &sql, const QVariantList &values)
{
    if (!ensureOpen())
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        return std::nullopt;
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (!q.exec())
        return std::nullopt;
    return q;
}

QStringList SqliteHistory::players()
{
    return SqlGameRows::players(selector()).value_or(QStringList());
}

QList<GameSummary> SqliteHistory::games(const QString &player, int mode)
{
    return SqlGameRows::games(selector(), player, mode).value_or(QList<GameSummary>());
}

QList<CharacterCount> SqliteHistory::characterCounts(const QString &player, int mode)
{
    return SqlGameRows::characterCounts(selector(), player, mode).value_or(QList<CharacterCount>());
}

QList<RecentCharacter> SqliteHistory::recentCharacters(const QString &player, int mode, int lastGames)
{
    return SqlGameRows::recentCharacters(selector(), player, mode, lastGames).value_or(QList<RecentCharacter>());
}

QList<ItemLine> SqliteHistory::itemLines(const QString &player)
{
    return SqlGameRows::itemLines(selector(), player).value_or(QList<ItemLine>());
}

LessonHistory SqliteHistory::lessons(const QString &player, int lastGames)
{
    return SqlGameRows::lessons(selector(), player, lastGames).value_or(LessonHistory());
}

QList<PlayerFigures> SqliteHistory::classFigures(int mode, const QDateTime &weekStart, int recentGames,
                                                int characterGames)
{
    return SqlGameRows::classFigures(selector(), SqlGameRows::Dialect::Sqlite, mode, weekStart, recentGames, characterGames)
        .value_or(QList<PlayerFigures>());
}

SqlGameRows::Select SqliteHistory::selector()
{
    return [this](const QString &sql, const QVariantList &values) { return select(sql, values); };
}
