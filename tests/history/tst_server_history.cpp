// Guards the classroom's history on a real PostgreSQL server: games arrive once each, in
// order, as the files hold them, also when several programs write at once and when the
// server was stopped hard or frozen; a frozen server never holds the game up; each bad
// configuration is told once in French while the games stay on the computer; the room's
// preparation leaves the computers' role reading and adding believable games only, and
// moves an old room to its owner; a player's games are erased on request.
#include "history/LocalOutbox.h"
#include "history/PlayerErasure.h"
#include "history/ServerHistory.h"
#include "history/ServerPreparation.h"
#include "history/ServerSchema.h"
#include "history/SqliteHistory.h"
#include "support/GameSamples.h"
#include "support/SqlitePeek.h"
#include "support/TestDoubles.h"
#include "support/TestPostgres.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <random>

namespace {

// The games as text, one a line in the order kept: the game's figures, its items, its wrong
// keys in the order typed and its characters due, so that a file and the server compare whole.
const QString kGamesText = QStringLiteral(
    "SELECT g.uid || '|' || g.player || '|' || g.mode || '|' || g.started_at || '|' || g.finished_at || '|' || g.mini"
    " || '|' || g.average || '|' || g.wrong_keys || '|' || g.practice || '|' || (SELECT string_agg(i.shown || ':' ||"
    " i.time_ms || ':' || i.raw_ms || ':' || i.wrong_keys, ',' ORDER BY i.position) FROM items AS i WHERE i.game_id = g.id)"
    " || '|' || COALESCE((SELECT string_agg(m.position || m.expected || m.typed, ',' ORDER BY %1) FROM mistakes AS m"
    " WHERE m.game_id = g.id), '') || '|' || (SELECT string_agg(e.character || e.count, ',' ORDER BY e.character)"
    " FROM expected_chars AS e WHERE e.game_id = g.id) FROM games AS g WHERE g.uid IS NOT NULL ORDER BY g.id");

QString fileGames(const QString &path)
{
    // SQLite before 3.44 has no ORDER BY inside group_concat: the rows are read in order.
    QString sql = kGamesText.arg("m.rowid").replace("string_agg(", "group_concat(");
    return peek(path, sql.replace(QRegularExpression(" ORDER BY [a-z.]+\\)"), ")")).replace(" / ", "\n");
}

ServerAddress addressOf(const QString &uri)
{
    QString why;
    return ServerAddress::parse(uri, &why).value();
}

// One computer of the room: its own folder, history file and message boxes, and its link
// to the server.
struct Computer
{
    QTemporaryDir folder;
    ScriptedBoxes boxes;
    ScriptedWallClock clock;
    SqliteHistory file{boxes, clock, folder.filePath(SqliteHistory::fileName())};
    std::unique_ptr<ServerHistory> history;

    explicit Computer(const QString &uri)
        : history(std::make_unique<ServerHistory>(file, addressOf(uri), boxes))
    {
    }
    ~Computer() { history->stop(5000); }
    int waiting() { return int(LocalOutbox(file.path()).waiting().size()); }
    // Asks for the waiting games to be sent until none is left, for `ms` at most.
    bool sendAll(int ms = 20000)
    {
        for (QDeadlineTimer deadline(ms); waiting() > 0 && !deadline.hasExpired();) {
            QSignalSpy drained(history.get(), &ServerHistory::drained);
            history->flush();
            drained.wait(500);
        }
        return waiting() == 0;
    }
};

} // namespace

class TestServerHistory : public QObject
{
    Q_OBJECT

    TestPostgres server_;
    QTemporaryDir home_;
    std::mt19937 random_{20261207};

    QString count(const QString &database, const QString &table = "games")
    {
        return server_.query("SELECT count(*) FROM " + table, database);
    }

    RoomCommandResult prepare(const QString &database, const QString &room = "clavimo", const QString &uri = QString())
    {
        return prepareServer(addressOf(uri.isEmpty() ? server_.uri(database, server_.ownerUser()) : uri), room);
    }

    // The room's database made by its owner and prepared; the computers' address.
    QString freshRoom(const QString &name)
    {
        QString error;
        if (!server_.createDatabase(name, &error, server_.ownerUser()) || prepare(name).exitCode != 0)
            qWarning("room %s not made: %s", qPrintable(name), qPrintable(error));
        return server_.uri(name);
    }

    // The statements in one transaction as the computers' role, as a pupil with its password
    // could: the server's refusal, or nothing when it took them.
    QString asPupil(const QString &database, const QString &statements)
    {
        QString refusal;
        server_.execute("BEGIN;\n" + statements + ";\nCOMMIT;", database, &refusal, server_.user());
        return refusal;
    }

    FinishedGame game(const QString &player, int mode = 1, bool practice = false)
    {
        FinishedGame g = sampleGame(random_, player, mode, QDateTime(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC).addSecs(random_() % 100000),
                                    600, 0.1);
        g.practice = practice;
        return g;
    }

    // History writers started at once, each a computer of its own: what each said at its end.
    QStringList runWriters(const QString &uri, int programs, int games, int pauseMs, const std::function<void()> &meanwhile = {})
    {
        std::vector<std::unique_ptr<QProcess>> writers;
        std::vector<std::unique_ptr<QTemporaryDir>> folders;
        for (int i = 0; i < programs; ++i) {
            folders.push_back(std::make_unique<QTemporaryDir>());
            writers.push_back(std::make_unique<QProcess>());
            writers.back()->start(HISTORY_WRITER, {"server", folders.back()->filePath(SqliteHistory::fileName()), uri,
                                                   QStringLiteral("Élève %1").arg(i + 1), QString::number(games), QString::number(pauseMs)});
        }
        if (meanwhile)
            meanwhile();
        QStringList results;
        for (auto &p : writers) {
            p->waitForFinished(240000);
            results << QString::fromUtf8(p->readAllStandardOutput() + p->readAllStandardError()).trimmed()
                           + QStringLiteral(" exit %1").arg(p->exitCode());
        }
        return results;
    }

private slots:
    void initTestCase()
    {
        if (!server_.available())
            QSKIP(qPrintable(server_.skipReason()));
        // The passwords come from the test's own ~/.pgpass, as on the room's computers.
        qputenv("HOME", home_.path().toLocal8Bit());
        QFile pgpass(home_.filePath(".pgpass"));
        QVERIFY(pgpass.open(QIODevice::WriteOnly) && pgpass.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        pgpass.write(QStringLiteral("*:*:*:%1:%2\n*:*:*:%3:%4\n")
                         .arg(server_.user(), server_.password(), server_.ownerUser(), server_.ownerPassword()).toUtf8());
    }

    // Games kept on two computers reach the server in order, as the files hold them, over
    // TLS, and the progression of either computer reads the whole room's games.
    void gamesReachTheServer()
    {
        const QString database = "room_basic", uri = freshRoom(database);
        Computer first(uri), second(uri);
        for (int i = 0; i < 3; ++i)
            first.history->record(game("Léa", 1, i == 1));
        QVERIFY(first.sendAll());
        second.history->record(game("Zoé", 6));
        QVERIFY(second.sendAll());
        QCOMPARE(first.boxes.texts() + second.boxes.texts(), QStringList());
        QCOMPARE(server_.query(kGamesText.arg("m.id"), database), fileGames(first.file.path()) + '\n' + fileGames(second.file.path()));
        QCOMPARE(server_.query("SELECT bool_and(s.ssl) FROM pg_stat_ssl AS s JOIN pg_stat_activity AS a USING (pid)"
                               " WHERE a.application_name = 'clavimo'"),
                 "t");
        QStringList players = first.history->players();
        players.sort();
        QCOMPARE(players, (QStringList{"Léa", "Zoé"}));
        QCOMPARE(first.history->games("Zoé", 6).size() + first.history->itemLines("Zoé").size(), 21);
        qint64 games = 0, practice = 0, due = 0, recent = 0;
        for (const GameSummary &g : second.history->games("Léa", 1))
            ++games, practice += g.practice;
        for (const CharacterCount &c : second.history->characterCounts("Léa", 1))
            due += c.expected;
        for (const RecentCharacter &c : second.history->recentCharacters("Léa", 1, 2))
            recent += c.expected;
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(games).arg(practice).arg(due).arg(recent), "3 1 60 40");
    }

    // The old set-up, where the computers' role owns the tables of the first version: the
    // preparation changes nothing and prints the commands that move the room to its owner;
    // once they are run, it brings the schema to the current version in place, the games
    // there kept as ordinary games.
    void oldRoomMovedToItsOwner()
    {
        const QString database = "room_version1";
        QVERIFY(server_.createDatabase(database));
        QVERIFY(server_.execute(
            "CREATE TABLE clavimo_schema(version INTEGER NOT NULL); INSERT INTO clavimo_schema VALUES(1);"
            " CREATE TABLE games(id BIGSERIAL PRIMARY KEY, uid TEXT NOT NULL UNIQUE, player TEXT NOT NULL, mode INTEGER NOT NULL,"
            " started_at TEXT NOT NULL, finished_at TEXT NOT NULL, mini BIGINT NOT NULL, average BIGINT NOT NULL,"
            " wrong_keys BIGINT NOT NULL);"
            " CREATE TABLE items(game_id BIGINT NOT NULL REFERENCES games(id), position INTEGER NOT NULL, shown TEXT NOT NULL,"
            " time_ms BIGINT NOT NULL, raw_ms BIGINT NOT NULL, wrong_keys BIGINT NOT NULL, PRIMARY KEY(game_id, position));"
            " CREATE TABLE mistakes(id BIGSERIAL PRIMARY KEY, game_id BIGINT NOT NULL REFERENCES games(id),"
            " position INTEGER NOT NULL, expected TEXT NOT NULL, typed TEXT NOT NULL);"
            " CREATE TABLE expected_chars(game_id BIGINT NOT NULL REFERENCES games(id), character TEXT NOT NULL,"
            " count BIGINT NOT NULL, PRIMARY KEY(game_id, character));"
            " CREATE INDEX games_by_player ON games(player, mode, finished_at); CREATE INDEX mistakes_by_game ON mistakes(game_id);"
            " INSERT INTO games VALUES(1, 'old', 'Léa', 1, '2026-12-01T10:00:00.000Z', '2026-12-01T10:01:00.000Z', 500, 600, 1);"
            " INSERT INTO items VALUES(1, 1, 'K', 650, 600, 1); INSERT INTO mistakes VALUES(1, 1, 1, 'K', 'L');"
            " INSERT INTO expected_chars VALUES(1, 'K', 1); SELECT setval('games_id_seq', 1); SELECT setval('mistakes_id_seq', 1);"
            " ALTER TABLE clavimo_schema OWNER TO clavimo; ALTER TABLE games OWNER TO clavimo; ALTER TABLE items OWNER TO clavimo;"
            " ALTER TABLE mistakes OWNER TO clavimo; ALTER TABLE expected_chars OWNER TO clavimo;"
            " ALTER SEQUENCE games_id_seq OWNER TO clavimo; ALTER SEQUENCE mistakes_id_seq OWNER TO clavimo",
            database));
        const RoomCommandResult refused = prepare(database);
        QVERIFY2(refused.exitCode == 2 && refused.error.contains("ancienne installation"), qPrintable(refused.error));
        QCOMPARE(server_.query("SELECT version FROM clavimo_schema", database), "1");
        // The commands as printed, run by the server's administrator.
        const QStringList commands = refused.error.split('\n').filter(QRegularExpression("^    "));
        QString error;
        QVERIFY2(commands.size() == 2 && server_.execute(commands.join('\n'), database, &error), qPrintable(error));
        const RoomCommandResult moved = prepare(database);
        QVERIFY2(moved.output.contains(QStringLiteral("mises à jour de la version 1 à la version %1").arg(ServerSchema::kVersion)),
                 qPrintable(moved.error));
        QCOMPARE(server_.query("SELECT string_agg(uid || ':' || player || ':' || mini || ':' || practice, ',')"
                               " || (SELECT count(*) FROM items) || (SELECT count(*) FROM mistakes)"
                               " || (SELECT count(*) FROM expected_chars) || (SELECT string_agg(version::text, ',')"
                               " FROM clavimo_schema) FROM games",
                               database),
                 QStringLiteral("old:Léa:500:0111%1").arg(ServerSchema::kVersion));
        Computer computer(server_.uri(database));
        computer.history->record(game("Léa", 1, true));
        FinishedGame lesson = game("Léa", FinishedGame::kLessonMode);
        lesson.lessonKeys = 9;
        lesson.lessonTargetMs = 600;
        computer.history->record(lesson);
        QVERIFY(computer.sendAll());
        QCOMPARE(server_.query("SELECT practice || ':' || mode || ':' || COALESCE(lesson_keys, 0) FROM games ORDER BY id", database),
                 "0:1:0\n1:1:0\n0:0:9");
        QCOMPARE(computer.history->lessons("Léa", 5).mostKeys, 9);
    }

    // "programs games": several programs writing at once, every game there once, nothing else.
    void severalProgramsAtOnce()
    {
        for (const auto &[programs, games] : {std::pair(4, 1), std::pair(3, 300)}) {
            const QString database = QStringLiteral("room_%1_%2").arg(programs).arg(games);
            for (const QString &result : runWriters(freshRoom(database), programs, games, 0))
                QCOMPARE(result, "done 0 exit 0");
            QCOMPARE(server_.query("SELECT count(*) || ' ' || count(DISTINCT uid) || ' ' || count(DISTINCT player)"
                                   " || ' ' || (SELECT count(*) FROM items) FROM games",
                                   database),
                     QStringLiteral("%1 %1 %2 %3").arg(programs * games).arg(programs).arg(programs * games * 20));
        }
    }

    // The server stopped hard while a program writes: no game lost, none twice, and the
    // player told once.
    void serverStoppedHard()
    {
        const QString database = "room_crash", uri = freshRoom(database);
        PostgresGuard guard{server_};
        const QStringList results = runWriters(uri, 1, 200, 10, [this] {
            QTest::qWait(700);
            QVERIFY(server_.control("crash"));
            QTest::qWait(1500);
            QVERIFY(server_.control("restart"));
        });
        QVERIFY2(results[0].startsWith("done 0\n") && results[0].endsWith(" exit 0"), qPrintable(results[0]));
        QCOMPARE(results[0].count("ne peut pas être utilisé"), 1);
        QCOMPARE(server_.query("SELECT count(*) || ' ' || count(DISTINCT uid) || ' ' || (SELECT count(*) FROM items) FROM games",
                               database),
                 "200 200 4000");
    }

    // A frozen server (it takes the connection and never answers): each game is kept at
    // once, the progression falls back on the file in time, the player is told once, and
    // the games arrive once the server answers again. A room prepared for a newer version
    // while a computer is connected gets no more games either.
    void frozenOrNewerServer()
    {
        PostgresGuard guard{server_};
        Computer computer(freshRoom("room_frozen"));
        computer.history->record(game("Noé"));
        QVERIFY(computer.sendAll());
        QVERIFY(server_.control("freeze"));
        qint64 slowest = 0;
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer time;
            time.start();
            computer.history->record(game("Noé"));
            slowest = std::max(slowest, time.elapsed());
            QTest::qWait(50); // the sending thread is now stuck on the server
        }
        QVERIFY2(slowest < 200, qPrintable(QString::number(slowest)));
        QElapsedTimer reading;
        reading.start();
        QCOMPARE(computer.history->games("Noé", 1).size(), 6);
        QVERIFY(reading.elapsed() < ServerHistory::kReadWaitMs + 1000);
        QCOMPARE(computer.history->players(), QStringList{"Noé"});
        QVERIFY2(computer.boxes.texts().size() == 1 && computer.boxes.texts()[0].contains("pas de réponse à temps"),
                 qPrintable(computer.boxes.texts().join('\n')));
        QCOMPARE(computer.waiting(), 5);
        QVERIFY(server_.control("thaw"));
        QVERIFY(computer.sendAll(60000));
        QCOMPARE(server_.query("SELECT count(*) || ' ' || count(DISTINCT uid) FROM games", "room_frozen"), "6 6");
        QCOMPARE(computer.boxes.texts().size(), 1);

        QVERIFY(server_.execute("UPDATE clavimo_schema SET version = 99", "room_frozen"));
        QSignalSpy unavailable(computer.history.get(), &ServerHistory::unavailable);
        computer.history->record(game("Noé"));
        QVERIFY(unavailable.wait(10000));
        QCOMPARE(computer.waiting(), 1);
        QCOMPARE(count("room_frozen"), "6");
    }

    // "what is wrong | the reason told": a clear French message once, when the next game
    // ends; the games are kept on the computer and nothing is written into a database that
    // is not the game's. Once a room not prepared is, the games waiting go.
    void badConfigurations()
    {
        const QString unprepared = "la base de données n'est pas prête pour cette version de Clavimo, "
                                   "l'administrateur doit lancer clavimo --preparer-serveur";
        const QStringList rows = {
            "host|nom d'hôte inconnu", "port|connexion refusée", "password|utilisateur ou mot de passe refusé",
            "user|utilisateur ou mot de passe refusé", "missing|la base de données «\u00A0room_missing\u00A0» n'existe pas",
            "foreign|la base de données contient les tables d'un autre programme",
            "newer|la base de données a été préparée par une version plus récente de Clavimo", "unprepared|" + unprepared,
            "older|" + unprepared};
        for (const QString &row : rows) {
            const QString kind = row.section('|', 0, 0), reason = row.section('|', 1), database = "room_" + kind;
            QString uri = server_.uri(database, kind == "user" ? "inconnu" : "");
            uri.replace(server_.host(), kind == "host" ? "hote-inconnu.invalid" : server_.host());
            uri.replace(QStringLiteral(":%1/").arg(server_.port()), kind == "port" ? ":1/" : QStringLiteral(":%1/").arg(server_.port()));
            if (kind == "missing")
                server_.execute("DROP DATABASE IF EXISTS room_missing");
            else if (kind == "older")
                freshRoom(database);
            else
                server_.createDatabase(database, nullptr, kind == "unprepared" ? server_.ownerUser() : QString());
            const QString setUp = kind == "older"     ? "UPDATE clavimo_schema SET version = 2"
                                  : kind == "foreign" ? "CREATE TABLE games(id integer); CREATE TABLE notes(t text)"
                                  : kind == "newer"   ? "CREATE TABLE clavimo_schema(version INTEGER NOT NULL); INSERT INTO"
                                                        " clavimo_schema VALUES(99); ALTER TABLE clavimo_schema OWNER TO clavimo"
                                                      : "";
            QVERIFY(setUp.isEmpty() || server_.execute(setUp, database));
            if (kind == "password")
                qputenv("PGPASSWORD", "faux");
            const auto restorePassword = qScopeGuard([] { qunsetenv("PGPASSWORD"); });

            Computer computer(uri);
            QSignalSpy unavailable(computer.history.get(), &ServerHistory::unavailable);
            QElapsedTimer time;
            time.start();
            computer.history->record(game("Inès"));
            QVERIFY(time.elapsed() < 200);
            QVERIFY2(unavailable.wait(10000), qPrintable(kind));
            QCOMPARE(computer.boxes.texts(), QStringList()); // not in the middle of the next game
            for (int i = 0; i < 3; ++i)
                computer.history->record(game("Inès"));
            const QString told = computer.boxes.texts().join('\n');
            QVERIFY2(told.startsWith("Le serveur d'historique de la classe «\u00A0postgresql://") && !told.contains('\n')
                         && told.contains("(" + reason + ")\u00A0: les parties sont gardées sur cet ordinateur"),
                     qPrintable(told));
            QCOMPARE(computer.waiting(), 4);
            if (kind == "foreign" || kind == "newer")
                QCOMPARE(count(database, "pg_tables WHERE schemaname = 'public'"), kind == "foreign" ? "2" : "1");
            if (kind == "unprepared") {
                QCOMPARE(prepare(database).exitCode, 0);
                QVERIFY(computer.sendAll(30000));
                QCOMPARE(count(database) + QString::number(computer.boxes.texts().size()), "41");
            }
        }
    }

    // What a pupil with the computers' password can do with a database tool: add believable
    // games only (one changed figure is enough for a refusal), and change nothing there.
    void pupilCanOnlyAddBelievableGames()
    {
        const QString database = "room_pupil";
        {
            Computer computer(freshRoom(database));
            computer.history->record(game("Léa"));
            QVERIFY(computer.sendAll());
        }
        const QString whole = "SELECT (SELECT count(*) || ' ' || sum(mini) FROM games) || ' ' || (SELECT count(*) || ' ' ||"
                              " sum(time_ms) FROM items) || ' ' || (SELECT count(*) FROM mistakes)";
        const QString before = server_.query(whole, database);
        for (const QString sql : {"DELETE FROM games", "DELETE FROM mistakes", "UPDATE games SET mini = 1", "UPDATE items SET time_ms = 1",
                                  "TRUNCATE games CASCADE", "DROP TABLE items CASCADE", "ALTER TABLE games ADD COLUMN note text",
                                  "ALTER TABLE games DROP CONSTRAINT games_plausible", "CREATE TABLE notes(t text)",
                                  "CREATE TEMP TABLE notes(t text)", "CREATE SCHEMA notes", "INSERT INTO clavimo_schema VALUES(4)",
                                  "DROP TRIGGER games_have_20_items ON games"}) {
            const QString refusal = asPupil(database, sql);
            QVERIFY2(refusal.contains("permission denied") || refusal.contains("must be owner"), qPrintable(sql + refusal));
        }
        QCOMPARE(server_.query(whole, database), before);
        // "mode mini average practice | first and last position, time, time without penalty | kept"
        for (const QString row : {"1 400 500 0|1 20 500 450|kept", "1 600 500 0|1 20 500 450|", "1 -5 500 0|1 20 500 450|",
                                  "1 400 500 2|1 20 500 450|", "3 400 500 0|1 20 500 450|", "1 400 500 0|1 19 500 450|",
                                  "1 400 500 0|1 0 500 450|", "1 400 500 0|2 21 500 450|", "1 400 500 0|1 20 -1 -1|",
                                  "1 400 500 0|1 20 400 450|"}) {
            const QStringList g = row.section('|', 0, 0).split(' '), i = row.section('|', 1, 1).split(' ');
            const QString refusal = asPupil(
                database, QStringLiteral("INSERT INTO games(uid, player, mode, started_at, finished_at, mini, average, wrong_keys, practice)"
                                         " VALUES(gen_random_uuid()::text, 'Bob', %1, 'a', 'b', %2, %3, 0, %4);")
                                  .arg(g[0], g[1], g[2], g[3])
                              + QStringLiteral("INSERT INTO items SELECT currval('games_id_seq'), p, 'A', %3, %4, 0"
                                               " FROM generate_series(%1, %2) AS p")
                                    .arg(i[0], i[1], i[2], i[3]));
            QVERIFY2(row.endsWith("kept") ? refusal.isEmpty() : refusal.contains("violate") || refusal.contains("20 items"),
                     qPrintable(row + ": " + refusal));
        }
    }

    // Preparing twice gives the same rights, read back from the server: the computers' role
    // reads and adds games, nothing else, and no other role may connect.
    void preparedTwiceTheSame()
    {
        freshRoom("room_twice");
        const QString rights = "SELECT (SELECT datacl::text FROM pg_database WHERE datname = current_database()) || ' ' || (SELECT"
                               " nspacl::text FROM pg_namespace WHERE nspname = 'public') || ' ' || string_agg(relname || '=' ||"
                               " relacl::text, ' ' ORDER BY relname) FROM pg_class WHERE relnamespace = 'public'::regnamespace"
                               " AND relkind IN ('r', 'S')";
        QString expected = "{clavimo_prof=CTc/clavimo_prof,clavimo=c/clavimo_prof} {pg_database_owner=UC/pg_database_owner,clavimo=U/"
                           "pg_database_owner}";
        for (const QString acl : {"clavimo_schema=r", "expected_chars=ar", "games=ar", "games_id_seq=U", "items=ar", "mistakes=ar",
                                  "mistakes_id_seq=U"})
            expected += QStringLiteral(" %1={clavimo_prof=%2/clavimo_prof,clavimo=%3/clavimo_prof}")
                            .arg(acl.section('=', 0, 0), acl.endsWith("=U") ? "rwU" : "arwdDxt", acl.section('=', 1));
        QCOMPARE(server_.query(rights, "room_twice"), expected);
        const RoomCommandResult again = prepare("room_twice");
        QVERIFY2(again.exitCode == 0 && again.output.contains(QStringLiteral("tables déjà à la version %1").arg(ServerSchema::kVersion)), qPrintable(again.output));
        QCOMPARE(server_.query(rights, "room_twice"), expected);
    }

    // "what is wrong | the reason": a preparation that cannot be done says why, with exit
    // code 2, and changes nothing.
    void preparationRefused()
    {
        for (const QString row : {"port|ne peut pas être utilisé (connexion refusée).", "role|le rôle «\u00A0inconnu\u00A0» n'existe pas",
                                  "owner|le rôle «\u00A0clavimo_prof\u00A0» n'est pas propriétaire de la base"}) {
            const QString kind = row.section('|', 0, 0);
            QVERIFY(server_.createDatabase("room_refused", nullptr, kind == "owner" ? server_.adminUser() : server_.ownerUser()));
            QString uri = server_.uri("room_refused", server_.ownerUser());
            uri.replace(QStringLiteral(":%1/").arg(server_.port()), kind == "port" ? ":1/" : QStringLiteral(":%1/").arg(server_.port()));
            const RoomCommandResult result = prepare("room_refused", kind == "role" ? "inconnu" : "clavimo", uri);
            QVERIFY2(result.exitCode == 2 && result.error.startsWith("clavimo\u00A0: ") && result.error.contains(row.section('|', 1)),
                     qPrintable(result.error));
            QCOMPARE(count("room_refused", "pg_tables WHERE schemaname = 'public'"), "0");
        }
    }

    // "where | the name given | confirmed | the question's start (- when none is asked) |
    // the players left | exit code": erasing a player removes all their games, with what
    // hangs on them, and nothing else, on the server (as its owner) or in a computer's file;
    // names compare as in the game.
    void erasePlayer()
    {
        const QString two = "Effacer les 2 parties de «\u00A0%1\u00A0» de l'historique";
        for (const QString &row : QStringList{"server|LÉA|y|" + two.arg("LÉA") + "|Zoé|0", "file| léa  |y|" + two.arg("léa") + "|Zoé|0",
                                              "server|léa|n|" + two.arg("léa") + "|Léa Léa Zoé|1", "file|Lea|y|-|Léa Léa Zoé|0"}) {
            const QStringList f = row.split('|');
            const bool onServer = f[0] == "server";
            Computer computer(onServer ? freshRoom("room_erase") : "postgresql://p@h.invalid/b");
            for (const QString player : {"Léa", "Zoé", "Léa"})
                computer.history->record(game(player));
            if (onServer)
                QVERIFY(computer.sendAll());
            else
                computer.history->stop(5000); // the games stay in the file's outbox
            QString asked;
            const auto address = onServer ? std::optional(addressOf(server_.uri("room_erase", server_.ownerUser())))
                                          : std::optional<ServerAddress>();
            const RoomCommandResult result = ::erasePlayer(address, computer.file.path(), f[1], [&](const QString &q) {
                asked = q;
                return f[2] == "y";
            });
            QCOMPARE(result.exitCode, f[5].toInt());
            QVERIFY2(f[3] == "-" ? asked.isEmpty() : asked.startsWith(f[3]), qPrintable(asked));
            // The players of the games left, and the rows of games gone that stayed behind.
            const QString players = "SELECT %1 FROM (SELECT player FROM games ORDER BY player) AS p";
            QString orphans = "SELECT 0";
            for (const QString &table : QStringList{"items", "mistakes", "expected_chars"} + QStringList(onServer ? 0 : 1, "outbox"))
                orphans += QStringLiteral(" + (SELECT count(*) FROM %1 WHERE game_id NOT IN (SELECT id FROM games))").arg(table);
            if (onServer)
                QCOMPARE(server_.query(players.arg("string_agg(player, ' ')"), "room_erase") + server_.query(orphans, "room_erase"),
                         f[4] + "0");
            else
                QCOMPARE(peek(computer.file.path(), players.arg("group_concat(player, ' ')")) + peek(computer.file.path(), orphans),
                         f[4] + "0");
        }
    }
};

QTEST_GUILESS_MAIN(TestServerHistory)
#include "tst_server_history.moc"
