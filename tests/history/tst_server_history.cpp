// Guards what the history gives back, from the file and the classroom's server alike (one
// set of games, one table of answers), and the server's side: games sent once each, in
// order, through a crash or a freeze, which never holds the game up; each bad configuration
// told once; the room's preparation and migration, the computers' role that reads and adds
// believable games only; a player's games erased on request.
#include "history/LocalOutbox.h"
#include "history/PlayerErasure.h"
#include "history/ServerHistory.h"
#include "history/ServerPreparation.h"
#include "history/ServerSchema.h"
#include "history/SqliteHistory.h"
#include "support/SqlitePeek.h"
#include "support/TestDoubles.h"
#include "support/TestPostgres.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);

// "player mode hours-before-kNow items missed average [p | keys]": 20 items of 400 ms, the
// letters of `items` in turn (the word itself in mode 6), those whose first letter is in
// `missed` missed once (440 ms); Mini 400, a minute long; p for a practice game, the keys of
// a lesson (mode 0, target 600 ms). Not in date order.
const char *const kGames[] = {"Anne 1 168 AB A 610", "Anne 1 200 Q Q 620", "Anne 1 26 AB - 605",
                              "Anne 1 220 Q - 630",  "Anne 1 2 K K 700 p", "Anne 1 1 KB - 690 p",
                              "Anne 6 30 ÉTÉ É 900", "Bruno 1 240 C C 500", "Chloé 6 24 MOT - 800",
                              "Chloé 0 9 QS Q 1200 9", "Chloé 0 5 SQ Q 1100 8"};

// "question | answer" for any history holding kGames: games as "hours:mini/average/wrong",
// characters as "wrong/due" (recent ones ":items:time"), item lines by index, the class
// table by "latest games, character games" with the week starting 168 hours before kNow,
// lessons as "count most-keys" then the latest ones' "keys/target/items" and first items.
const char *const kAnswers[] = {
    "players|Anne Bruno Chloé",
    "games Anne 1|220:400/630/0 200:400/620/20 168:400/610/10 26:400/605/0 2:400/700/20p 1:400/690/0p",
    "counts Anne 1|A10/20 B0/30 K20/30 Q20/40",
    "recent Anne 1 3|A0/10:10:4000 B0/20:20:8000 K20/30:30:12000",
    "recent Anne 6 5|T0/20:0:0 É20/40:0:0",
    "items Anne|140 1Q#1 400/400/0 400/630/0 220h 60s 6ÉTÉ#20 440/400/1 400/900/20 30h 60s",
    "class 3 2|Anne 2/4/2 1h 605 [620 610 605] 30/60 B0/10 K20/30 ; Bruno 0/1/0 240h 500 [500] 20/20 C20/20",
    "lessons Chloé 1|2 9 ; 8/600/20 S-400 QQ440",
};

FinishedGame gameOf(const QString &line)
{
    const QStringList f = line.split(' ');
    FinishedGame g{f[0], f[1].toInt(), {}, kNow.addSecs(-3600 * f[2].toInt()), 400, f[5].toInt(), {}, f.value(6) == "p"};
    g.startedAt = g.finishedAt.addSecs(-60);
    g.lessonKeys = f.value(6).toInt();
    g.lessonTargetMs = g.isLesson() ? 600 : 0;
    for (int i = 0; i < 20; ++i) {
        const QString shown = g.mode == 6 ? f[3] : QString(f[3].at(i % f[3].size()));
        const bool missed = f[4].contains(shown[0]);
        g.items << PlayedItem{shown, 400, missed ? 440 : 400, missed ? QList<Mistake>{{shown[0], u'#'}} : QList<Mistake>()};
    }
    return g;
}

// The first question of kAnswers the history answers otherwise, with its answer.
QString mismatch(HistoryReader &r)
{
    const auto hours = [](const QDateTime &t) { return t.secsTo(kNow) / 3600; };
    const auto date = [](const QString &iso) { return QDateTime::fromString(iso, Qt::ISODateWithMs); };
    const auto character = [](const auto &c) { return QStringLiteral("%1%2/%3").arg(c.character).arg(c.wrong).arg(c.expected); };
    for (const QString row : kAnswers) {
        const QStringList q = row.section('|', 0, 0).split(' ');
        QStringList out;
        if (q[0] == "players")
            out = r.players();
        for (const GameSummary &g : q[0] == "games" ? r.games(q[1], q[2].toInt()) : QList<GameSummary>())
            out << QStringLiteral("%1:%2/%3/%4%5").arg(hours(g.finishedAt)).arg(g.mini).arg(g.average).arg(g.wrongKeys)
                       .arg(g.practice ? "p" : "");
        for (const CharacterCount &c : q[0] == "counts" ? r.characterCounts(q[1], q[2].toInt()) : QList<CharacterCount>())
            out << character(c);
        for (const RecentCharacter &c : q[0] == "recent" ? r.recentCharacters(q[1], q[2].toInt(), q[3].toInt()) : QList<RecentCharacter>())
            out << character(c) + QStringLiteral(":%1:%2").arg(c.items).arg(c.itemMs);
        if (q[0] == "items") {
            const QList<ItemLine> lines = r.itemLines(q[1]);
            out << QString::number(lines.size());
            for (int i : {0, 139}) {
                const ItemLine l = lines.value(i);
                out << QStringLiteral("%1%2#%3 %4/%5/%6 %7/%8/%9 %10h %11s").arg(l.mode).arg(l.shown).arg(l.position)
                           .arg(l.timeMs).arg(l.rawMs).arg(l.wrongKeys).arg(l.mini).arg(l.average).arg(l.gameWrongKeys)
                           .arg(hours(date(l.finishedAt))).arg(date(l.startedAt).secsTo(date(l.finishedAt)));
            }
        }
        for (const PlayerFigures &f : q[0] == "class" ? r.classFigures(1, kNow.addDays(-7), q[1].toInt(), q[2].toInt()) : QList<PlayerFigures>()) {
            QStringList averages, characters;
            for (qint64 a : f.recentAverages)
                averages << QString::number(a);
            for (const RecentCharacter &c : f.characters)
                characters << character(c);
            characters.sort();
            out << QStringLiteral("%1 %2/%3/%4 %5h %6 [%7] %8/%9 %10").arg(f.player).arg(f.gamesThisWeek).arg(f.games).arg(f.practiceGames)
                       .arg(hours(f.lastPlayed)).arg(f.bestAverage).arg(averages.join(' ')).arg(f.recentWrong)
                       .arg(f.recentDue).arg(characters.join(' '));
        }
        if (q[0] == "lessons") {
            const LessonHistory h = r.lessons(q[1], q[2].toInt());
            out << QStringLiteral("%1 %2").arg(h.count).arg(h.mostKeys);
            for (const LessonGame &g : h.latest) {
                out << QStringLiteral("%1/%2/%3").arg(g.keys).arg(g.targetMs).arg(g.items.size());
                for (const LessonItem &item : g.items.mid(0, 2))
                    out.last() += QStringLiteral(" %1%2%3").arg(item.shown, item.missed.isEmpty() ? "-" : item.missed).arg(item.timeMs);
            }
        }
        if (q[0] != "games" && q[0] != "items" && q[0] != "lessons")
            out.sort(); // the order of players and characters is not promised
        const QString got = out.join(q[0] == "class" || q[0] == "lessons" ? " ; " : " ");
        if (got != row.section('|', 1))
            return row + "\n   got: " + got;
    }
    return {};
}

// The games in the order kept with the wrong keys as typed, which no reader gives back.
const QString kTyped = "SELECT g.uid || ' ' || m.expected || m.typed FROM games AS g JOIN mistakes AS m ON m.game_id = g.id ORDER BY g.id, m.%1";

// Every right on the room but its owners', as "role:right" once each.
const QString kRights = "SELECT string_agg(DISTINCT CASE x.grantee WHEN 0 THEN 'PUBLIC' ELSE x.grantee::regrole::text END"
                        " || ':' || x.privilege_type, ' ') FROM (SELECT datacl AS acl FROM pg_database WHERE datname ="
                        " current_database() UNION ALL SELECT nspacl FROM pg_namespace WHERE nspname = 'public' UNION ALL"
                        " SELECT relacl FROM pg_class WHERE relnamespace = 'public'::regnamespace) AS a, aclexplode(a.acl)"
                        " AS x WHERE x.grantee NOT IN ('clavimo_prof'::regrole, 'pg_database_owner'::regrole)";

ServerAddress addressOf(const QString &uri)
{
    QString why;
    return ServerAddress::parse(uri, &why).value();
}

// One computer of the room: its own folder, history file, message boxes and server link.
struct Computer
{
    QTemporaryDir folder;
    ScriptedBoxes boxes;
    ScriptedWallClock clock;
    SqliteHistory file{boxes, clock, folder.filePath(SqliteHistory::fileName())};
    ServerHistory history;

    explicit Computer(const QString &uri) : history(file, addressOf(uri), boxes) {}
    ~Computer() { history.stop(5000); }
    int waiting() { return int(LocalOutbox(file.path()).waiting().size()); }
    // Asks for the waiting games to be sent until none is left, for `ms` at most.
    bool sendAll(int ms = 20000)
    {
        for (QDeadlineTimer deadline(ms); waiting() > 0 && !deadline.hasExpired();) {
            QSignalSpy drained(&history, &ServerHistory::drained);
            history.flush();
            drained.wait(500);
        }
        return waiting() == 0;
    }
    // Records the game and says how long that took.
    qint64 record(const QString &game)
    {
        QElapsedTimer time;
        time.start();
        history.record(gameOf(game));
        return time.elapsed();
    }
};

} // namespace

class TestServerHistory : public QObject
{
    Q_OBJECT

    TestPostgres server_;

    RoomCommandResult prepare(const QString &database, const QString &room = "clavimo", const QString &uri = QString())
    {
        return prepareServer(addressOf(uri.isEmpty() ? server_.uri(database, server_.ownerUser()) : uri), room);
    }

    // Erases a player from a room (as its owner unless `user` is given) or from a history file,
    // answering `yes`: "exit code, games counted:name shown (- when not asked), the players
    // left, the rows of games gone left behind".
    QString erase(const QString &where, const QString &name, bool yes, const QString &user = QString())
    {
        const bool file = where.endsWith(SqliteHistory::fileName());
        const auto rows = [&](const QString &sql) { return file ? peek(where, sql) : server_.query(sql, where); };
        const auto address = file ? std::optional<ServerAddress>()
                                  : addressOf(server_.uri(where, user.isEmpty() ? server_.ownerUser() : user));
        QString asked = "-";
        const int exitCode = ::erasePlayer(address, where, name, [&](const QString &question) {
            asked = question.section(' ', 2, 2) + ":" + question.section("«\u00A0", 1).section("\u00A0»", 0, 0);
            return yes;
        }).exitCode;
        QString orphans = "SELECT 0";
        for (const QString &table : QStringList{"items", "mistakes", "expected_chars"} + QStringList(file ? 1 : 0, "outbox"))
            orphans += QStringLiteral(" + (SELECT count(*) FROM %1 WHERE game_id NOT IN (SELECT id FROM games))").arg(table);
        return QStringLiteral("%1 %2 %3 %4").arg(exitCode).arg(asked, rows("SELECT player FROM games ORDER BY player")
                                                                  .replace(" / ", " "), rows(orphans));
    }

    // The room's database made by its owner and prepared; the computers' address.
    QString freshRoom(const QString &name)
    {
        if (!server_.createDatabase(name, nullptr, server_.ownerUser()) || prepare(name).exitCode != 0)
            qWarning("room %s not made", qPrintable(name));
        return server_.uri(name);
    }

private slots:
    // The passwords come from a password file, as on the room's computers.
    void init()
    {
        if (!server_.available())
            QSKIP(qPrintable(server_.skipReason()));
        qputenv("PGPASSFILE", server_.passwordFile().toLocal8Bit());
    }

    // The same answers from the server (through a computer whose file holds none of the
    // games) and from the file while the server is frozen, in time and told once. The games
    // reach the server whole, in order and over TLS; those two computers keep while it is
    // frozen, then stopped hard and started again, are kept at once and arrive once each.
    // A room prepared for a newer version meanwhile gets no more games.
    void sameAnswersFromEveryStore()
    {
        const QString uri = freshRoom("room_rows");
        Computer first(uri), second(uri);
        for (const char *game : kGames)
            first.record(game);
        QVERIFY(first.sendAll());
        QCOMPARE(server_.query(kTyped.arg("id"), "room_rows"), peek(first.file.path(), kTyped.arg("rowid")));
        QCOMPARE(server_.query("SELECT bool_and(s.ssl) FROM pg_stat_ssl AS s JOIN pg_stat_activity AS a USING (pid)"
                               " WHERE a.application_name = 'clavimo'"), "t");
        QCOMPARE(mismatch(second.history), QString());
        QCOMPARE(first.boxes.texts() + second.boxes.texts(), QStringList());

        const auto restore = qScopeGuard([this] { server_.control("restore"); }); // also when the test fails
        QVERIFY(server_.control("freeze"));
        QElapsedTimer reading;
        reading.start();
        QCOMPARE(mismatch(first.history), QString());
        QVERIFY(reading.elapsed() < ServerHistory::kReadWaitMs + 1000);
        for (int i = 0; i < 120; ++i) {
            for (Computer *computer : {&first, &second})
                QVERIFY(computer->record(QStringLiteral("Noé %1 3 A - 500").arg(i % 2 ? 6 : 1)) < 1000 || i > 2); // kept at once
            if (i % 40 == 20) // thawed, stopped hard, started again
                QVERIFY(server_.control(i == 60 ? "crash" : "restore"));
            QTest::qWait(10);
        }
        QVERIFY(first.sendAll(60000) && second.sendAll(60000));
        const QString told = first.boxes.texts().join('\n');
        QVERIFY2(!told.contains('\n') && told.contains("(pas de réponse à temps)") && told.contains("La progression")
                     && second.boxes.texts().size() <= 1, qPrintable(told));
        const QString games = "SELECT count(*) || ' ' || count(DISTINCT uid) || ' ' || (SELECT count(*) FROM items) FROM games";
        QCOMPARE(server_.query(games, "room_rows"), "251 251 5020");

        QVERIFY(server_.execute("UPDATE clavimo_schema SET version = 99", "room_rows"));
        QSignalSpy unavailable(&first.history, &ServerHistory::unavailable);
        first.record("Noé 1 3 A - 500");
        QVERIFY(unavailable.wait(10000));
        QCOMPARE(QStringLiteral("%1 %2").arg(first.waiting()).arg(first.boxes.texts().size()), "1 1");
        QCOMPARE(server_.query(games, "room_rows"), "251 251 5020");
    }

    // "version": a room of an older version, its tables owned by the computers' role as
    // then, takes no game and is not prepared: the preparation prints the commands that
    // move it to its owner; once they are run, it brings the schema to the current version
    // in place, the games there kept as ordinary games, and the games waiting go. Then the
    // room's rights, read back from the server, the same when prepared again: the
    // computers' role reads and adds games, nothing else, and no other role may connect; a
    // pupil with its password adds believable games only, and erases nothing.
    void olderRoomsBroughtUpToDateAndGuarded()
    {
        for (int version : {1, 2}) {
            const QString database = QStringLiteral("room_version%1").arg(version);
            Computer computer(freshRoom(database));
            computer.record("Léa 1 3 A - 500");
            QVERIFY(computer.sendAll());
            // What the later versions added taken back, the tables given to the computers' role.
            QVERIFY(server_.execute(QStringLiteral(
                "DROP FUNCTION clavimo_game_has_20_items() CASCADE; ALTER TABLE games DROP COLUMN lesson_keys CASCADE,"
                " DROP COLUMN lesson_target_ms%1; ALTER TABLE items DROP CONSTRAINT items_plausible; ALTER TABLE mistakes DROP"
                " CONSTRAINT mistakes_plausible; ALTER TABLE expected_chars DROP CONSTRAINT expected_chars_plausible; UPDATE"
                " clavimo_schema SET version = %2; ALTER DATABASE %3 OWNER TO clavimo; GRANT CONNECT ON DATABASE %3 TO PUBLIC;"
                " REASSIGN OWNED BY clavimo_prof TO clavimo")
                .arg(version == 1 ? ", DROP COLUMN practice" : "").arg(version).arg(database), database));
            QSignalSpy unavailable(&computer.history, &ServerHistory::unavailable);
            computer.record("Léa 1 3 A - 500 p");
            QVERIFY(unavailable.wait(10000));
            computer.record("Léa 1 3 A - 500");
            QVERIFY2(computer.boxes.last().contains("n'est pas prête pour cette version"), qPrintable(computer.boxes.last()));
            const RoomCommandResult refused = prepare(database);
            QVERIFY2(refused.exitCode == 2 && refused.error.contains("ancienne installation"), qPrintable(refused.error));
            // The commands as printed, run by the server's administrator.
            const QStringList commands = refused.error.split('\n').filter(QRegularExpression("^    "));
            QString error;
            QVERIFY2(commands.size() == 2 && server_.execute(commands.join('\n'), database, &error), qPrintable(error));
            const RoomCommandResult moved = prepare(database);
            QVERIFY2(moved.output.contains(QStringLiteral("mises à jour de la version %1 à la version %2").arg(version).arg(ServerSchema::kVersion)), qPrintable(moved.error));
            computer.record("Léa 0 3 A - 500 9"); // a lesson, taken once the room is up to date
            QVERIFY(computer.sendAll());
            // "mode:practice[:keys]" of each game in order, then the items and the version.
            QCOMPARE(server_.query("SELECT string_agg(concat_ws(':', mode, practice, lesson_keys), ' ' ORDER BY id) || ' '"
                                   " || (SELECT count(*) FROM items) || ' ' || (SELECT version FROM clavimo_schema) FROM games",
                                   database),
                     QStringLiteral("1:0 1:1 1:0 0:0:9 80 %1").arg(ServerSchema::kVersion));

            const QString rights = "clavimo:CONNECT clavimo:INSERT clavimo:SELECT clavimo:USAGE";
            QCOMPARE(server_.query(kRights, database), rights);
            const RoomCommandResult again = prepare(database);
            QVERIFY2(again.exitCode == 0 && again.output.contains(QStringLiteral("déjà à la version %1").arg(ServerSchema::kVersion)),
                     qPrintable(again.output));
            QCOMPARE(server_.query(kRights, database), rights);

            // As a pupil with the computers' password could, in one transaction: refused, or taken
            // (deleting or changing rows is refused by the rights above).
            const auto asPupil = [&](const QString &statements) {
                QString refusal;
                server_.execute("BEGIN;\n" + statements + ";\nCOMMIT;", database, &refusal, server_.user());
                return refusal;
            };
            // "+ when kept, - when refused, and what differs from a believable game": one changed
            // figure is enough for a refusal.
            for (const QString row : {"+", "+ mode=6 practice=1 time=450", "+ mode=0 keys=9 target=600", "- mini=600", "- mini=-5",
                                      "- practice=2", "- mode=3", "- keys=9 target=600", "- mode=0 practice=1 keys=9 target=600",
                                      "- last=19", "- last=0", "- first=2 last=21", "- time=-1 raw=-1", "- time=400"}) {
                QString sql = "INSERT INTO games(uid, player, started_at, finished_at, wrong_keys, mode, mini, average, practice,"
                              " lesson_keys, lesson_target_ms) VALUES(gen_random_uuid()::text, 'Bob', 'a', 'b', 0, mode=1, mini=400,"
                              " average=500, practice=0, keys=NULL, target=NULL); INSERT INTO items SELECT currval('games_id_seq'),"
                              " p, 'A', time=500, raw=450, 0 FROM generate_series(first=1, last=20) AS p";
                for (const QString &change : row.split(' ').mid(1))
                    sql.replace(QRegularExpression("\\b" + change.section('=', 0, 0) + "=[-\\w]+"), change);
                const QString refusal = asPupil(sql.remove(QRegularExpression("\\w+=")));
                QVERIFY2(row[0] == '+' ? refusal.isEmpty() : refusal.contains("violate") || refusal.contains("20 items"),
                         qPrintable(row + ": " + refusal));
            }
            // Léa's games erased by the room's owner only, once confirmed.
            QCOMPARE(erase(database, "Léa", true, server_.user()), "2 - Bob Bob Bob Léa Léa Léa Léa 0");
            QCOMPARE(erase(database, "léa", false), "1 4:léa Bob Bob Bob Léa Léa Léa Léa 0");
            QCOMPARE(erase(database, "LÉA", true), "0 4:LÉA Bob Bob Bob 0");
        }
    }

    // "what is wrong | set-up, by the room's owner | the reason the computers are told | the
    // preparation's refusal", - when not tried: the computers get a clear French message
    // once, when the next game ends, and keep their games; a preparation that cannot be done
    // says why, with exit code 2. Nothing is written into a database that is not the game's.
    void badConfigurations()
    {
        for (const QString row : {
                 "host||nom d'hôte inconnu|ne peut pas être utilisé (nom d'hôte inconnu).",
                 "port||connexion refusée|ne peut pas être utilisé (connexion refusée).",
                 "password||utilisateur ou mot de passe refusé|-",
                 "missing||la base de données «\u00A0room_missing\u00A0» n'existe pas|-",
                 "foreign|CREATE TABLE games(id integer); CREATE TABLE notes(t text)|la base de données contient les tables"
                 " d'un autre programme|contient les tables d'un autre programme",
                 "newer|CREATE TABLE clavimo_schema(version INTEGER); INSERT INTO clavimo_schema VALUES(99); GRANT SELECT ON"
                 " clavimo_schema TO clavimo|la base de données a été préparée par une version plus récente de Clavimo|a été"
                 " préparée par une version plus récente",
                 "unprepared||la base de données n'est pas prête pour cette version de Clavimo, l'administrateur doit lancer"
                 " clavimo --preparer-serveur|-",
                 "role||-|le rôle «\u00A0inconnu\u00A0» n'existe pas",
                 "owner||-|le rôle «\u00A0clavimo_prof\u00A0» n'est pas propriétaire de la base",
                 "self||-|le rôle des ordinateurs «\u00A0clavimo_prof\u00A0» ne peut pas préparer"}) {
            const QStringList f = row.split('|');
            const QString database = "room_" + f[0];
            if (f[0] == "missing")
                server_.execute("DROP DATABASE IF EXISTS room_missing");
            else
                QVERIFY(server_.createDatabase(database, nullptr, f[0] == "owner" ? server_.adminUser() : server_.ownerUser()));
            QVERIFY(f[1].isEmpty() || server_.execute(f[1], database, nullptr, server_.ownerUser()));
            if (f[0] == "password")
                qputenv("PGPASSWORD", "faux");
            const auto restorePassword = qScopeGuard([] { qunsetenv("PGPASSWORD"); });
            const auto uri = [&](const QString &user) {
                return QStringLiteral("postgresql://%1@%2:%3/%4").arg(user, f[0] == "host" ? "hote-inconnu.invalid" : server_.host())
                    .arg(f[0] == "port" ? 1 : server_.port()).arg(database);
            };
            if (f[3] != "-") {
                const QString room = f[0] == "role" ? "inconnu" : f[0] == "self" ? "clavimo_prof" : "clavimo";
                const RoomCommandResult result = prepare("", room, uri(server_.ownerUser()));
                QVERIFY2(result.exitCode == 2 && result.error.startsWith("clavimo\u00A0: ") && result.error.contains(f[3]),
                         qPrintable(result.error));
            }
            if (f[2] != "-") {
                Computer computer(uri(server_.user()));
                QSignalSpy unavailable(&computer.history, &ServerHistory::unavailable);
                QVERIFY(computer.record("Inès 1 3 A - 500") < 1000); // never waits on the network
                QVERIFY2(unavailable.wait(10000), qPrintable(row));
                QCOMPARE(computer.boxes.texts(), QStringList()); // not in the middle of the next game
                for (int i = 0; i < 3; ++i) { // each game's sending fails again: still one message
                    computer.record("Inès 1 3 A - 500");
                    QVERIFY(unavailable.wait(10000));
                }
                const QString told = computer.boxes.texts().join('\n');
                QVERIFY2(told.startsWith("Le serveur d'historique de la classe «\u00A0postgresql://") && !told.contains('\n')
                             && told.contains("(" + f[2] + ")\u00A0: les parties sont gardées sur cet ordinateur"),
                         qPrintable(told));
                QCOMPARE(computer.waiting(), 4);
            }
            QVERIFY(f[0] == "missing" || server_.query("SELECT count(*) FROM pg_tables WHERE schemaname = 'public'", database) == QString::number(f[1].count("CREATE TABLE")));
        }
    }

    // Erasing a player from a computer's file removes all their games, with what hangs on
    // them (its outbox too), and nothing else; names compare as in the game. The server's
    // side is erased on the rooms brought up to date.
    void erasePlayer()
    {
        Computer computer("postgresql://p@h.invalid/b");
        for (const QString player : {"Léa", "Zoé", "Léa"})
            computer.record(player + " 1 3 A - 500");
        computer.history.stop(5000); // the games stay in the file's outbox
        QCOMPARE(erase(computer.file.path(), "Lea", true), "0 - Léa Léa Zoé 0");
        QCOMPARE(erase(computer.file.path(), " léa  ", true), "0 2:léa Zoé 0");
    }
};

QTEST_GUILESS_MAIN(TestServerHistory)
#include "tst_server_history.moc"
