// Guards the history file: a finished game stored exactly as the session reported it, read
// back by player and mode, bad files moved aside with one message, unwritable places
// leaving the game and the record files alone, a game still there after the writer is
// killed, two programs appending at once, and reading queries that go through indexes.
#include "game/progress/ProgressData.h"
#include "history/SqliteHistory.h"
#include "game/session/Statistics.h"
#include "support/GameSamples.h"
#include "support/EntryBytes.h"
#include "support/SessionHarness.h"
#include "support/SqlitePeek.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

const QString kFile = QStringLiteral("historique.sqlite");
// The tables of a history file of the first version, as a program of that version made
// them, for the tests of its migration.
const QStringList kVersion1Tables = {
    "CREATE TABLE games(id INTEGER PRIMARY KEY, player TEXT NOT NULL, mode INTEGER NOT NULL, started_at TEXT NOT NULL,"
    " finished_at TEXT NOT NULL, mini INTEGER NOT NULL, average INTEGER NOT NULL, wrong_keys INTEGER NOT NULL)",
    "CREATE TABLE items(game_id INTEGER NOT NULL REFERENCES games(id), position INTEGER NOT NULL, shown TEXT NOT NULL,"
    " time_ms INTEGER NOT NULL, raw_ms INTEGER NOT NULL, wrong_keys INTEGER NOT NULL, PRIMARY KEY(game_id, position))"
    " WITHOUT ROWID",
    "CREATE TABLE mistakes(game_id INTEGER NOT NULL REFERENCES games(id), position INTEGER NOT NULL,"
    " expected TEXT NOT NULL, typed TEXT NOT NULL)",
    "CREATE TABLE expected_chars(game_id INTEGER NOT NULL REFERENCES games(id), character TEXT NOT NULL,"
    " count INTEGER NOT NULL, PRIMARY KEY(game_id, character)) WITHOUT ROWID",
    "CREATE INDEX games_by_player ON games(player, mode, finished_at)",
    "CREATE INDEX mistakes_by_game ON mistakes(game_id)",
};

const QDateTime kMorning(QDate(2026, 12, 6), QTime(9, 0), Qt::UTC);

// A game in which the letters of `letters` are the items, each missed once by a "#" when
// `missed` holds it.
FinishedGame gameOf(const QString &player, int mode, const QDateTime &finished, const QString &letters,
                    const QString &missed = QString())
{
    FinishedGame game{player, mode, finished.addSecs(-30), finished, 400, 420, {}};
    for (int i = 0; i < 20; ++i) {
        const QChar c = letters.at(i % letters.size());
        game.items << (missed.contains(c) ? PlayedItem{c, 400, 440, {{c, u'#'}}} : PlayedItem{c, 400, 400, {}});
    }
    return game;
}

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (char &b : bytes)
        b = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

// A player's progression as the window reads it: the day and wrong keys of each game, the
// day of the newest, the personal records (0: none), then each character's wrong keys over
// the times it was due.
QString summary(const ProgressData &data)
{
    QStringList games, newest, characters;
    for (const GameSummary &g : data.games)
        games << QStringLiteral("%1:%2").arg(g.finishedAt.date().day()).arg(g.wrongKeys);
    for (const GameSummary &g : lastGames(data, 1))
        newest << QString::number(g.finishedAt.date().day());
    for (const CharacterCount &c : data.characters)
        characters << QStringLiteral("%1 %2/%3").arg(c.character).arg(c.wrong).arg(c.expected);
    characters.sort();
    return QStringLiteral("%1 | %2 | %3 %4 | %5")
        .arg(games.join(' '), newest.join(' '))
        .arg(data.recordMini.value_or(0))
        .arg(data.recordAverage.value_or(0))
        .arg(characters.join(QStringLiteral(", ")));
}

// A history in a scratch working folder, with doubles for its messages and its clock.
struct Store
{
    ScratchFolder folder;
    ScriptedBoxes boxes;
    ScriptedWallClock clock;
    QString path = folder.file(kFile);
};

} // namespace

class TestSqliteHistory : public QObject
{
    Q_OBJECT

private slots:
    // The game as the session played it: the name in full, each item with its times, every
    // wrong key (Enter included) with the character due, the figures the window showed.
    void aFinishedGameAsTheSessionReportedIt()
    {
        Harness h;
        SqliteHistory history(h.ts.boxes, h.ts.wallClock);
        h.session->setHistory(&history);
        const QString name = QStringLiteral("Łukasz-élodie du moulin");
        QVERIFY(h.startGame({name}));
        for (int i = 0; i < 20; ++i)
            h.ts.random.values << (i % 26 + 0.5) / 26; // A, B, C...
        const QDateTime start = h.ts.wallClock.now;
        h.type(QStringLiteral(" \r"));
        h.ts.clock.now += 300;
        h.type(QStringLiteral("#a"));
        for (int i = 1; i < 20; ++i) {
            h.ts.wallClock.now = start.addSecs(i == 19 ? 75 : 10); // read at the first and last items only
            h.playItem(300 + 10 * i, i % 7 == 0 ? 2 : 0);         // items 8 and 15 missed twice
        }
        const QString path = h.folder.file(kFile);
        QCOMPARE(peek(path, "PRAGMA user_version") + peek(path, "PRAGMA journal_mode"), QStringLiteral("%1wal").arg(SqliteHistory::kSchemaVersion));
        QCOMPARE(h.labels({"player", "gameMini", "gameAverage"}), name + "|Mini    :  310|Moyenne   :  406");
        QCOMPARE(peek(path, "SELECT id, player, mode, started_at, finished_at, mini, average, wrong_keys FROM games"), "1|" + name + "|1|2026-12-06T18:30:05.123Z|2026-12-06T18:31:20.123Z|310|406|6");
        QCOMPARE(peek(path, "SELECT * FROM items WHERE position IN (1, 8, 20) ORDER BY position"),
                 QStringLiteral("1|1|A|360|300|2 / 1|8|H|444|370|2 / 1|20|T|490|490|0"));
        QCOMPARE(peek(path, "SELECT COUNT(*), SUM(time_ms) / 20, MIN(time_ms) FROM items"), QStringLiteral("20|406|310"));
        QCOMPARE(peek(path, "SELECT position, expected, typed FROM mistakes ORDER BY rowid"),
                 QStringLiteral("1|A|\r / 1|A|# / 8|H|# / 8|H|# / 15|O|# / 15|O|#"));
        QCOMPARE(peek(path, "SELECT SUM(count), COUNT(*) FROM expected_chars"), QStringLiteral("20|20"));
        QVERIFY(h.ts.boxes.texts().filter(QStringLiteral("historique")).isEmpty());
    }

    // What the progression window and the export read: a player's games of one mode oldest
    // first with the records of that mode's record file, which is only read, the characters
    // due and missed, and every item of the player's games by mode, date and position.
    void readsBackByPlayerAndMode()
    {
        Store s;
        const QByteArray records = entryBytes("Anne", 300, 0) + entryBytes("Anne", 0, 400) + entryBytes("Anne", 350, 450);
        s.folder.write(QStringLiteral("clvfic1.txt"), records);
        SqliteHistory history(s.boxes, s.clock);
        history.record(gameOf(QStringLiteral("Anne"), 1, kMorning.addDays(2), QStringLiteral("AB"), QStringLiteral("A")));
        history.record(gameOf(QStringLiteral("Anne"), 1, kMorning, QStringLiteral("AÉ"), QStringLiteral("É")));
        history.record(gameOf(QStringLiteral("Anne"), 6, kMorning.addDays(1), QStringLiteral("Z"), QStringLiteral("Z")));
        history.record(gameOf(QStringLiteral("Bruno"), 1, kMorning, QStringLiteral("A"), QStringLiteral("A")));
        QStringList players = history.players();
        players.sort();
        QCOMPARE(players, (QStringList{"Anne", "Bruno"}));
        QCOMPARE(summary(loadProgress(history, QStringLiteral("Anne"), 1)), "6:10 8:10 | 8 | 350 450 | A 10/20, B 0/10, É 10/10");
        QCOMPARE(summary(loadProgress(history, QStringLiteral("Anne"), 6)), "7:20 | 7 | 0 0 | Z 20/20");
        QCOMPARE(s.folder.read(QStringLiteral("clvfic1.txt")), records);
        QVERIFY(!QFile::exists(s.folder.file(QStringLiteral("clvfic6.txt"))));
        const QList<ItemLine> lines = history.itemLines(QStringLiteral("Anne"));
        QCOMPARE(lines.size(), 60);
        QCOMPARE(lines[1].shown + lines[1].finishedAt, QStringLiteral("É2026-12-06T09:00:00.000Z"));
        QCOMPARE(lines[20].finishedAt, QStringLiteral("2026-12-08T09:00:00.000Z"));
        QCOMPARE(lines[59].mode * 100 + lines[59].position, 620);
        QVERIFY(s.boxes.shown.isEmpty());
    }

    // A file that is no history goes aside untouched, with its companions; the games go into
    // a fresh file, and the player hears of it once.
    void badFilesMovedAside_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message"); // the one message's middle; empty: none, file kept
        const QString unreadable = QStringLiteral("est illisible\u00A0: il a été mis");
        QTest::newRow("random bytes and companions") << "random" << unreadable;
        QTest::newRow("damaged pages") << "damaged" << unreadable;
        QTest::newRow("another program's database") << "foreign" << unreadable;
        QTest::newRow("a newer version") << "newer" << "vient d'une version plus récente de Clavimo\u00A0: il a été mis";
        QTest::newRow("an empty file is a fresh history") << "empty" << "";
    }
    void badFilesMovedAside()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        Store s;
        if (kind == QLatin1String("damaged")) {
            {
                SqliteHistory earlier(s.boxes, s.clock);
                for (int i = 0; i < 30; ++i)
                    earlier.record(gameOf(QStringLiteral("Anne"), 1, kMorning, QStringLiteral("ABCDEF")));
            }
            QByteArray bytes = s.folder.read(kFile);
            QVERIFY(bytes.size() > 16384);
            s.folder.write(kFile, bytes.replace(4096, bytes.size() - 4096, QByteArray(bytes.size() - 4096, '\xA5')));
        } else if (kind == QLatin1String("foreign") || kind == QLatin1String("newer")) {
            QCOMPARE(peek(s.path, "CREATE TABLE notes(text TEXT)"), QString());
            QCOMPARE(peek(s.path, QStringLiteral("PRAGMA user_version = %1").arg(kind == QLatin1String("newer") ? SqliteHistory::kSchemaVersion + 1 : 0)), QString());
        } else {
            s.folder.write(kFile, kind == QLatin1String("random") ? randomBytes(5000) : QByteArray());
            s.folder.write(kFile + "-wal", "not a log");
            s.folder.write(kFile + "-shm", "not a map");
        }
        const QByteArray before = s.folder.read(kFile);
        SqliteHistory history(s.boxes, s.clock);
        history.record(gameOf(QStringLiteral("Paul"), 1, kMorning, QStringLiteral("P")));
        history.record(gameOf(QStringLiteral("Paul"), 1, kMorning, QStringLiteral("Q")));

        const QString aside = kFile + QStringLiteral(".illisible-20261206-183005");
        QCOMPARE(s.boxes.shown.size(), message.isEmpty() ? 0 : 1);
        QCOMPARE(s.boxes.last(), message.isEmpty() ? QString()
                                                   : "Le fichier d'historique «\u00A0historique.sqlite\u00A0» " + message + " de côté sous "
                                                         "le nom «\u00A0" + aside + "\u00A0» et un nouvel historique commence. | "
                                                         "Clavimo | Ok | Exclamation");
        QCOMPARE(QFile::exists(s.folder.file(aside)), !message.isEmpty());
        QVERIFY(message.isEmpty() || s.folder.read(aside) == before);
        if (kind == QLatin1String("random"))
            QCOMPARE(s.folder.read(aside + "-wal") + s.folder.read(aside + "-shm"), QByteArray("not a lognot a map"));
        QCOMPARE(peek(s.path, "SELECT shown, (SELECT user_version FROM pragma_user_version) FROM items"
                              " WHERE position = 1 ORDER BY game_id"),
                 QStringLiteral("P|%1 / Q|%1").arg(SqliteHistory::kSchemaVersion));
    }

    // A file of the first version is brought to the current one in place, every row kept;
    // the games kept from then on carry a unique id, and wait in the outbox only when a
    // classroom's server is to receive them.
    void migratesAndKeepsTheOutbox_data()
    {
        QTest::addColumn<bool>("outbox");
        QTest::newRow("no server") << false;
        QTest::newRow("a server") << true;
    }
    void migratesAndKeepsTheOutbox()
    {
        QFETCH(bool, outbox);
        Store s;
        const QStringList version1 = kVersion1Tables + QStringList{
            "INSERT INTO games VALUES(7, 'Léa', 6, '2026-12-01T10:00:00.000Z', '2026-12-01T10:01:00.000Z', 500, 600, 1)",
            "INSERT INTO items VALUES(7, 1, 'MAISON', 650, 600, 1)",
            "INSERT INTO mistakes VALUES(7, 1, 'S', 'D')",
            "INSERT INTO expected_chars VALUES(7, 'S', 1)",
            "PRAGMA user_version = 1",
        };
        for (const QString &sql : version1)
            QCOMPARE(peek(s.path, sql), QString());
        const QString kept = "7|Léa|6|2026-12-01T10:00:00.000Z|2026-12-01T10:01:00.000Z|500|600|1 # 7|1|MAISON|650|600|1"
                             " # 7|1|S|D # 7|S|1";
        const auto rows = [&s] {
            return peek(s.path, "SELECT id, player, mode, started_at, finished_at, mini, average, wrong_keys FROM games"
                                " WHERE id = 7")
                + " # " + peek(s.path, "SELECT * FROM items WHERE game_id = 7") + " # "
                + peek(s.path, "SELECT * FROM mistakes WHERE game_id = 7") + " # "
                + peek(s.path, "SELECT * FROM expected_chars WHERE game_id = 7");
        };
        QCOMPARE(rows(), kept);
        {
            SqliteHistory history(s.boxes, s.clock);
            history.setOutbox(outbox);
            history.record(gameOf(QStringLiteral("Léa"), 1, kMorning, QStringLiteral("AB")));
            history.record(gameOf(QStringLiteral("Léa"), 1, kMorning, QStringLiteral("CD")));
        }
        QCOMPARE(s.boxes.texts(), QStringList());
        QCOMPARE(peek(s.path, "PRAGMA user_version"), QString::number(SqliteHistory::kSchemaVersion));
        QCOMPARE(rows(), kept);
        // The old game has no id; the new ones have distinct ids of the usual form.
        QCOMPARE(peek(s.path, "SELECT count(*) FROM games WHERE uid IS NULL"), QStringLiteral("1"));
        const QStringList uids = peek(s.path, "SELECT uid FROM games WHERE uid IS NOT NULL").split(QStringLiteral(" / "));
        QCOMPARE(uids.size(), 2);
        QVERIFY(uids[0] != uids[1]);
        for (const QString &uid : uids)
            QVERIFY2(QRegularExpression(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$"))
                         .match(uid).hasMatch(),
                     qPrintable(uid));
        QCOMPARE(peek(s.path, "SELECT group_concat(g.player || ':' || g.id, ',') FROM outbox AS o JOIN games AS g"
                              " ON g.id = o.game_id"),
                 outbox ? QStringLiteral("Léa:8,Léa:9") : QString());
    }

    // A file of version 1 or 2 is brought to the current version in place: every game kept
    // stays, as an ordinary game, and a practice game kept from then on is told apart.
    void practiceFlagMigratedInPlace_data()
    {
        QTest::addColumn<int>("version");
        QTest::newRow("version 1") << 1;
        QTest::newRow("version 2") << 2;
    }
    void practiceFlagMigratedInPlace()
    {
        QFETCH(int, version);
        Store s;
        QStringList schema = kVersion1Tables + QStringList{
            "INSERT INTO games(id, player, mode, started_at, finished_at, mini, average, wrong_keys)"
            " VALUES(7, 'Léa', 1, '2026-12-01T10:00:00.000Z', '2026-12-01T10:01:00.000Z', 500, 600, 1)",
            "INSERT INTO items VALUES(7, 1, 'K', 650, 600, 1)",
            "INSERT INTO mistakes VALUES(7, 1, 'K', 'L')",
            "INSERT INTO expected_chars VALUES(7, 'K', 1)",
        };
        if (version == 2) {
            schema << "ALTER TABLE games ADD COLUMN uid TEXT" << "CREATE UNIQUE INDEX games_by_uid ON games(uid)"
                   << "CREATE TABLE outbox(game_id INTEGER PRIMARY KEY REFERENCES games(id))"
                   << "UPDATE games SET uid = 'a1b2' WHERE id = 7" << "INSERT INTO outbox VALUES(7)";
        }
        schema << QStringLiteral("PRAGMA user_version = %1").arg(version);
        for (const QString &sql : schema)
            QCOMPARE(peek(s.path, sql), QString());
        const auto rows = [&s] {
            return peek(s.path, "SELECT id, player, mode, started_at, finished_at, mini, average, wrong_keys FROM games"
                                " WHERE id = 7")
                + " # " + peek(s.path, "SELECT * FROM items WHERE game_id = 7") + " # "
                + peek(s.path, "SELECT * FROM mistakes WHERE game_id = 7") + " # "
                + peek(s.path, "SELECT * FROM expected_chars WHERE game_id = 7");
        };
        const QString kept = rows();
        const QString outbox = version == 2 ? peek(s.path, "SELECT * FROM outbox") : QString();
        FinishedGame practice = gameOf(QStringLiteral("Léa"), 1, kMorning, QStringLiteral("KW"), QStringLiteral("K"));
        practice.practice = true;
        {
            SqliteHistory history(s.boxes, s.clock);
            history.record(practice);
            history.record(gameOf(QStringLiteral("Léa"), 1, kMorning.addSecs(60), QStringLiteral("AB")));
            QList<bool> flags;
            for (const GameSummary &g : history.games(QStringLiteral("Léa"), 1))
                flags << g.practice;
            QCOMPARE(flags, (QList<bool>{false, true, false}));
        }
        QCOMPARE(s.boxes.texts(), QStringList());
        QCOMPARE(peek(s.path, "PRAGMA user_version"), QString::number(SqliteHistory::kSchemaVersion));
        QCOMPARE(rows(), kept);
        QCOMPARE(peek(s.path, "SELECT * FROM outbox"), outbox);
        QCOMPARE(peek(s.path, "SELECT id, practice FROM games ORDER BY id"), QStringLiteral("7|0 / 8|1 / 9|0"));
    }

    // The figures a practice game is drawn from: only the player's latest games of the mode,
    // practice ones included, with the time of the one-letter items.
    void recentCharactersOfTheLatestGames_data()
    {
        QTest::addColumn<int>("lastGames");
        QTest::addColumn<QString>("figures");
        QTest::newRow("the last 30") << 30 << "A 300/300 300 120000, B 300/0 300 120000";
        QTest::newRow("the last 32") << 32 << "A 300/300 300 120000, B 300/0 300 120000, Q 40/40 40 16000";
        QTest::newRow("the last one") << 1 << "A 10/10 10 4000, B 10/0 10 4000";
    }
    void recentCharactersOfTheLatestGames()
    {
        QFETCH(int, lastGames);
        QFETCH(QString, figures);
        Store s;
        SqliteHistory history(s.boxes, s.clock);
        // The latest games first, so that only their dates tell them from the older ones.
        for (int i = 0; i < 30; ++i) {
            FinishedGame g = gameOf(QStringLiteral("Anne"), 1, kMorning.addDays(1).addSecs(i), QStringLiteral("AB"),
                                    QStringLiteral("A"));
            g.practice = i % 2 == 0;
            history.record(g);
        }
        for (int i = 0; i < 5; ++i)
            history.record(gameOf(QStringLiteral("Anne"), 1, kMorning.addSecs(i), QStringLiteral("Q"), QStringLiteral("Q")));
        history.record(gameOf(QStringLiteral("Anne"), 6, kMorning.addDays(2), QStringLiteral("Z"), QStringLiteral("Z")));
        history.record(gameOf(QStringLiteral("Bruno"), 1, kMorning.addDays(2), QStringLiteral("C"), QStringLiteral("C")));
        QStringList out;
        for (const RecentCharacter &c : history.recentCharacters(QStringLiteral("Anne"), 1, lastGames))
            out << QStringLiteral("%1 %2/%3 %4 %5").arg(c.character).arg(c.expected).arg(c.wrong).arg(c.items).arg(c.itemMs);
        out.sort();
        QCOMPARE(out.join(QStringLiteral(", ")), figures);
    }

    // During real games: the records are announced and written first, then the history says
    // once what went wrong, and both games go on to their end. Root writes anywhere, so the
    // unwritable places are ones nobody can write to: a path under a regular file, and a
    // folder bearing the file's name.
    void badHistoryDuringGames_data()
    {
        QTest::addColumn<QString>("place");   // the history's path in the working folder
        QTest::addColumn<QString>("blocker"); // what is there first: a file, or a folder ending in "/"
        QTest::addColumn<QString>("reason");
        QTest::newRow("under a regular file") << "dossier/historique.sqlite" << "dossier" << "ouverture impossible";
        QTest::newRow("a folder bears the name") << "historique.sqlite" << "historique.sqlite/" << "un dossier porte ce nom";
    }
    void badHistoryDuringGames()
    {
        QFETCH(QString, place);
        QFETCH(QString, blocker);
        QFETCH(QString, reason);
        Harness h;
        if (blocker.endsWith(QLatin1Char('/')))
            QVERIFY(QDir(h.folder.path()).mkdir(blocker));
        else
            h.folder.write(blocker, randomBytes(3000));
        SqliteHistory history(h.ts.boxes, h.ts.wallClock, h.folder.file(place));
        h.session->setHistory(&history);
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        for (int i = 0; i < 40; ++i) {
            if (i == 20)
                h.session->newGame();
            h.playItem(i == 0 ? 500 : 450);
        }
        QCOMPARE(h.handOvers.size(), 2);
        const QStringList boxes = h.ts.boxes.texts();
        const QString message = "Le fichier d'historique «\u00A0historique.sqlite\u00A0» ne peut pas être écrit dans le dossier de "
                                "travail (" + reason + ")\u00A0: l'historique des parties n'est pas conservé.";
        QCOMPARE(boxes.filter(QStringLiteral("historique")), QStringList{message});
        QCOMPARE(boxes.mid(boxes.indexOf(message) - 2, 2), (QStringList{"Record perso moyenne !", "Record absolu moyenne !"}));
        QCOMPARE(h.file("clvfic1.txt"), entryBytes("Paul", 450, 0) + entryBytes("Paul", 0, 450)
                                            + entryBytes("Paul", 450, 450));
        // What blocked the way is still there.
        QVERIFY(blocker.endsWith(QLatin1Char('/')) ? QFileInfo(h.folder.file(blocker)).isDir()
                                                   : h.folder.read(blocker).size() == 3000);
    }

    void aKilledWriterLeavesItsGame()
    {
        Store s;
        QProcess writer;
        writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writer.start(QStringLiteral(HISTORY_WRITER), {QStringLiteral("once"), s.path});
        QByteArray out;
        QVERIFY(QTest::qWaitFor([&] { return (out += writer.readAllStandardOutput()).contains("written"); }, 20000));
        writer.kill(); // SIGKILL: no destructor, no checkpoint
        QVERIFY(writer.waitForFinished());
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
        QCOMPARE(peek(s.path, "SELECT player, (SELECT COUNT(*) FROM items) FROM games"), QStringLiteral("Tué net|20"));
    }

    void twoProgramsAppendTogether()
    {
        Store s;
        QProcess anne, bruno;
        anne.start(QStringLiteral(HISTORY_WRITER), {"append", s.path, "Anne", "40"});
        bruno.start(QStringLiteral(HISTORY_WRITER), {"append", s.path, "Bruno", "40"});
        for (QProcess *p : {&anne, &bruno}) {
            QVERIFY(p->waitForFinished(60000));
            QCOMPARE(p->readAllStandardOutput() + p->readAllStandardError(), QByteArray("done\n"));
        }
        QCOMPARE(peek(s.path, "SELECT player, COUNT(*), (SELECT COUNT(*) || '/' || COUNT(DISTINCT game_id) FROM items)"
                              " FROM games GROUP BY player"),
                 QStringLiteral("Anne|40|1600/80 / Bruno|40|1600/80"));
    }

    // No reading query reads a whole table: a player's games are searched through their
    // index, the rows joined to them through their game.
    void readingQueriesUseIndexes()
    {
        Store s;
        SqliteHistory history(s.boxes, s.clock);
        std::mt19937 random(7);
        for (int i = 0; i < 30; ++i)
            history.record(sampleGame(random, i % 2 ? QStringLiteral("Anne") : QStringLiteral("Bruno"), 1 + 5 * (i % 3 == 0),
                                      kMorning.addSecs(i * 600)));
        for (const QString &sql : SqliteHistory::readingQueries()) {
            const QStringList plan = history.queryPlan(sql);
            const QString text = sql + " : " + plan.join(QStringLiteral(" / "));
            // A table read whole shows as a SCAN, unless it is through a covering index.
            const QRegularExpression wholeTable(QStringLiteral("^SCAN (?!.*COVERING INDEX)"));
            QVERIFY2(!plan.isEmpty() && plan.filter(wholeTable).isEmpty(), qPrintable(text));
            QVERIFY2(!sql.contains(QLatin1String("player = ?")) || text.contains(QLatin1String("INDEX games_by_player (player=?")),
                     qPrintable(text));
        }
    }
};

QTEST_GUILESS_MAIN(TestSqliteHistory)
#include "tst_sqlite_history.moc"
