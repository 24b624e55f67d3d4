// Guards the history file: a game stored as the session reported it and read back by player
// and mode; files of older versions brought to the current one in place; bad files moved
// aside with one message; unwritable places leaving the game and the record files alone; a
// game kept when its writer is killed; two programs appending at once.
#include "history/SqliteHistory.h"
#include "support/EntryBytes.h"
#include "support/GameSamples.h"
#include "support/SessionHarness.h"
#include "support/SqlitePeek.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QString kFile = QStringLiteral("historique.sqlite");
const QDateTime kMorning(QDate(2026, 12, 6), QTime(9, 0), Qt::UTC);

// A game whose items are the letters of `letters` in turn, each missed once by a "#" when
// `missed` holds it: 400 ms, 440 ms with the penalty.
FinishedGame gameOf(const QString &player, int mode, const QDateTime &finished, const QString &letters,
                    const QString &missed = QString(), bool practice = false)
{
    FinishedGame game{player, mode, finished.addSecs(-30), finished, 400, 420, {}, practice};
    for (int i = 0; i < 20; ++i) {
        const QChar c = letters.at(i % letters.size());
        game.items << (missed.contains(c) ? PlayedItem{c, 400, 440, {{c, u'#'}}} : PlayedItem{c, 400, 400, {}});
    }
    return game;
}

// The tables and rows of a file of the first version, as a program of that version made them.
const QStringList kVersion1 = {
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
    "INSERT INTO games VALUES(7, 'Léa', 1, '2026-12-01T10:00:00.000Z', '2026-12-01T10:01:00.000Z', 500, 600, 1)",
    "INSERT INTO items VALUES(7, 1, 'K', 650, 600, 1)",
    "INSERT INTO mistakes VALUES(7, 1, 'K', 'L')",
    "INSERT INTO expected_chars VALUES(7, 'K', 1)",
};
// What the second version added.
const QStringList kVersion2 = {
    "ALTER TABLE games ADD COLUMN uid TEXT", "CREATE UNIQUE INDEX games_by_uid ON games(uid)",
    "CREATE TABLE outbox(game_id INTEGER PRIMARY KEY REFERENCES games(id))", "UPDATE games SET uid = 'a1b2' WHERE id = 7",
    "INSERT INTO outbox VALUES(7)",
};
// Every table's columns and every index, to compare a migrated file with a new one.
const QString kSchema = QStringLiteral(
    "SELECT m.type || ' ' || m.name || ' ' || COALESCE((SELECT group_concat(name) FROM pragma_table_info(m.name)), '')"
    " FROM sqlite_master AS m WHERE m.name NOT LIKE 'sqlite_%' ORDER BY m.name");

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
    void aGameAsTheSessionReportedIt()
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
        QCOMPARE(peek(path, "PRAGMA user_version") + peek(path, "PRAGMA journal_mode"),
                 QStringLiteral("%1wal").arg(SqliteHistory::kSchemaVersion));
        QCOMPARE(h.labels({"player", "gameMini", "gameAverage"}), name + "|Mini    :  310|Moyenne   :  406");
        QCOMPARE(peek(path, "SELECT id, player, mode, started_at, finished_at, mini, average, wrong_keys, practice FROM games"),
                 "1|" + name + "|1|2026-12-06T18:30:05.123Z|2026-12-06T18:31:20.123Z|310|406|6|0");
        QCOMPARE(peek(path, "SELECT * FROM items WHERE position IN (1, 8, 20) ORDER BY position"),
                 QStringLiteral("1|1|A|360|300|2 / 1|8|H|444|370|2 / 1|20|T|490|490|0"));
        QCOMPARE(peek(path, "SELECT COUNT(*), SUM(time_ms) / 20, MIN(time_ms) FROM items"), QStringLiteral("20|406|310"));
        QCOMPARE(peek(path, "SELECT position, expected, typed FROM mistakes ORDER BY rowid"),
                 QStringLiteral("1|A|\r / 1|A|# / 8|H|# / 8|H|# / 15|O|# / 15|O|#"));
        QCOMPARE(peek(path, "SELECT SUM(count), COUNT(*) FROM expected_chars"), QStringLiteral("20|20"));
        QVERIFY(h.ts.boxes.texts().filter(QStringLiteral("historique")).isEmpty());
    }

    // What the progression window, the export and the practice draw read: a player's games of
    // one mode oldest first, the characters due and missed, the latest games' figures, and every
    // item by mode, date and position.
    void readsBackByPlayerAndMode()
    {
        Store s;
        SqliteHistory history(s.boxes, s.clock);
        for (int i = 0; i < 3; ++i) // the latest games first: only their dates tell them apart
            history.record(gameOf("Anne", 1, kMorning.addDays(1).addSecs(i), "AB", "A", i % 2 == 0));
        for (int i = 0; i < 2; ++i)
            history.record(gameOf("Anne", 1, kMorning.addSecs(i), "Q", "Q"));
        history.record(gameOf("Anne", 6, kMorning.addDays(2), "Z", "Z"));
        history.record(gameOf("Bruno", 1, kMorning.addDays(2), "C", "C"));
        QStringList players = history.players(), games, counts, lines;
        players.sort();
        QCOMPARE(players, (QStringList{"Anne", "Bruno"}));
        for (const GameSummary &g : history.games("Anne", 1))
            games << QStringLiteral("%1:%2%3").arg(g.finishedAt.date().day()).arg(g.wrongKeys).arg(g.practice ? "p" : "");
        QCOMPARE(games.join(' '), QStringLiteral("6:20 6:20 7:10p 7:10 7:10p"));
        for (const CharacterCount &c : history.characterCounts("Anne", 1))
            counts << QStringLiteral("%1 %2/%3").arg(c.character).arg(c.wrong).arg(c.expected);
        counts.sort();
        QCOMPARE(counts.join(", "), QStringLiteral("A 30/30, B 0/30, Q 40/40"));
        for (const auto &[last, expected] : {std::pair(2, "A 20/20 20 8000, B 20/0 20 8000"),
                                             std::pair(4, "A 30/30 30 12000, B 30/0 30 12000, Q 20/20 20 8000")}) {
            QStringList out;
            for (const RecentCharacter &c : history.recentCharacters("Anne", 1, last))
                out << QStringLiteral("%1 %2/%3 %4 %5").arg(c.character).arg(c.expected).arg(c.wrong).arg(c.items).arg(c.itemMs);
            out.sort();
            QCOMPARE(out.join(", "), QString::fromUtf8(expected));
        }
        const QList<ItemLine> items = history.itemLines("Anne");
        for (int i : {0, 19, 20, 40, 119})
            lines << QStringLiteral("%1%2 %3 %4").arg(items.value(i).mode).arg(items.value(i).shown).arg(items.value(i).position)
                         .arg(items.value(i).finishedAt);
        QCOMPARE(lines.join(" / "), QStringLiteral("1Q 1 2026-12-06T09:00:00.000Z / 1Q 20 2026-12-06T09:00:00.000Z"
                                                   " / 1Q 1 2026-12-06T09:00:01.000Z / 1A 1 2026-12-07T09:00:00.000Z"
                                                   " / 6Z 20 2026-12-08T09:00:00.000Z"));
        QCOMPARE(items.size(), 120);
        QVERIFY(s.boxes.shown.isEmpty());
    }

    // "version, outbox": a file of an older version is brought to the current one in place,
    // every row kept, with the tables and indexes of a new file; the games kept from then on
    // carry a unique id, tell practice apart, and wait in the outbox only for a server.
    void olderVersionsBroughtUpToDate()
    {
        Store fresh;
        SqliteHistory(fresh.boxes, fresh.clock).record(gameOf("Léa", 1, kMorning, "AB"));
        for (const QString row : {"1 no", "1 outbox", "2 outbox"}) {
            const bool two = row.startsWith('2'), outbox = row.endsWith("outbox");
            Store s;
            for (const QString &sql : kVersion1 + (two ? kVersion2 : QStringList()) + QStringList{QStringLiteral("PRAGMA user_version = %1").arg(two ? 2 : 1)})
                QCOMPARE(peek(s.path, sql), QString());
            const auto rows = [&s] {
                return peek(s.path, "SELECT id, player, mode, started_at, finished_at, mini, average, wrong_keys FROM games"
                                    " WHERE id = 7")
                    + " # " + peek(s.path, "SELECT * FROM items WHERE game_id = 7") + " # "
                    + peek(s.path, "SELECT * FROM mistakes WHERE game_id = 7") + " # "
                    + peek(s.path, "SELECT * FROM expected_chars WHERE game_id = 7");
            };
            const QString kept = rows();
            {
                SqliteHistory history(s.boxes, s.clock);
                history.setOutbox(outbox);
                history.record(gameOf("Léa", 1, kMorning, "KW", "K", true));
                history.record(gameOf("Léa", 1, kMorning.addSecs(60), "AB"));
            }
            QCOMPARE(s.boxes.texts(), QStringList());
            QCOMPARE(peek(s.path, "PRAGMA user_version"), QString::number(SqliteHistory::kSchemaVersion));
            QCOMPARE(peek(s.path, kSchema), peek(fresh.path, kSchema));
            QCOMPARE(rows(), kept);
            QCOMPARE(peek(s.path, "SELECT uid FROM games WHERE id = 7"), QString(two ? "a1b2" : ""));
            QCOMPARE(peek(s.path, "SELECT id, practice FROM games ORDER BY id"), QStringLiteral("7|0 / 8|1 / 9|0"));
            QCOMPARE(peek(s.path, "SELECT group_concat(game_id) FROM outbox"), QString(two ? "7," : "") + (outbox ? "8,9" : ""));
            const QStringList uids = peek(s.path, "SELECT uid FROM games WHERE id > 7").split(" / ");
            QVERIFY(uids.size() == 2 && uids[0] != uids[1]);
            for (const QString &uid : uids)
                QVERIFY2(QRegularExpression("^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$").match(uid).hasMatch(),
                         qPrintable(uid));
        }
    }

    // "what is there | what the one message says": a file that is no history goes aside
    // untouched, with its companions; the games go into a new file, and the player hears of
    // it once. An empty file is a new history.
    void badFilesMovedAside()
    {
        const QString unreadable = QStringLiteral("est illisible\u00A0: il a été mis");
        const QStringList rows = {"random|" + unreadable, "damaged|" + unreadable, "foreign|" + unreadable,
                                  "newer|vient d'une version plus récente de Clavimo\u00A0: il a été mis", "empty|"};
        for (const QString &row : rows) {
            const QString kind = row.section('|', 0, 0), message = row.section('|', 1);
            Store s;
            if (kind == "damaged") {
                {
                    SqliteHistory earlier(s.boxes, s.clock);
                    for (int i = 0; i < 30; ++i)
                        earlier.record(gameOf("Anne", 1, kMorning, "ABCDEF"));
                }
                QByteArray bytes = s.folder.read(kFile);
                s.folder.write(kFile, bytes.replace(4096, bytes.size() - 4096, QByteArray(bytes.size() - 4096, '\xA5')));
            } else if (kind == "foreign" || kind == "newer") {
                peek(s.path, "CREATE TABLE notes(text TEXT)");
                peek(s.path, QStringLiteral("PRAGMA user_version = %1").arg(kind == "newer" ? SqliteHistory::kSchemaVersion + 1 : 0));
            } else {
                QByteArray bytes(kind == "random" ? 5000 : 0, '\0');
                for (char &b : bytes)
                    b = char(QRandomGenerator::global()->bounded(256));
                s.folder.write(kFile, bytes);
                s.folder.write(kFile + "-wal", "not a log");
                s.folder.write(kFile + "-shm", "not a map");
            }
            const QByteArray before = s.folder.read(kFile);
            SqliteHistory history(s.boxes, s.clock);
            history.record(gameOf("Paul", 1, kMorning, "P"));
            history.record(gameOf("Paul", 1, kMorning, "Q"));

            const QString aside = kFile + QStringLiteral(".illisible-20261206-183005");
            QCOMPARE(s.boxes.texts(), message.isEmpty() ? QStringList()
                                                        : QStringList{"Le fichier d'historique «\u00A0historique.sqlite\u00A0» " + message
                                                                      + " de côté sous le nom «\u00A0" + aside
                                                                      + "\u00A0» et un nouvel historique commence."});
            QCOMPARE(s.folder.read(aside), message.isEmpty() ? QByteArray() : before);
            if (kind == "random")
                QCOMPARE(s.folder.read(aside + "-wal") + s.folder.read(aside + "-shm"), QByteArray("not a lognot a map"));
            QCOMPARE(peek(s.path, "SELECT shown, (SELECT user_version FROM pragma_user_version) FROM items"
                                  " WHERE position = 1 ORDER BY game_id"),
                     QStringLiteral("P|%1 / Q|%1").arg(SqliteHistory::kSchemaVersion));
        }
    }

    // "the history's path | what is there first (a folder ends in /) | the reason told":
    // during real games, the records are announced and written first, then the history says
    // once what went wrong, and both games go to their end. Root writes anywhere, so the
    // places are ones nobody can write to.
    void unwritablePlaces()
    {
        for (const QString row : {"dossier/historique.sqlite|dossier|ouverture impossible",
                                   "historique.sqlite|historique.sqlite/|un dossier porte ce nom"}) {
            const QStringList f = row.split('|');
            Harness h;
            if (f[1].endsWith('/'))
                QVERIFY(QDir(h.folder.path()).mkdir(f[1]));
            else
                h.folder.write(f[1], "a file");
            SqliteHistory history(h.ts.boxes, h.ts.wallClock, h.folder.file(f[0]));
            h.session->setHistory(&history);
            QVERIFY(h.startGame({QStringLiteral("Paul")}));
            for (int i = 0; i < 40; ++i) {
                if (i == 20)
                    h.session->newGame();
                h.playItem(i == 0 ? 500 : 450);
            }
            QCOMPARE(h.handOvers.size(), 2);
            const QString message = "Le fichier d'historique «\u00A0historique.sqlite\u00A0» ne peut pas être écrit dans le dossier "
                                    "de travail (" + f[2] + ")\u00A0: l'historique des parties n'est pas conservé.";
            const QStringList boxes = h.ts.boxes.texts();
            QCOMPARE(boxes.filter(QStringLiteral("historique")), QStringList{message});
            QCOMPARE(boxes.mid(boxes.indexOf(message) - 2, 2), (QStringList{"Record perso moyenne !", "Record absolu moyenne !"}));
            QCOMPARE(h.file("clvfic1.txt"), entryBytes("Paul", 450, 0) + entryBytes("Paul", 0, 450) + entryBytes("Paul", 450, 450));
            QVERIFY(f[1].endsWith('/') ? QFileInfo(h.folder.file(f[1])).isDir() : h.folder.read(f[1]) == "a file");
        }
    }

    // A game announced is kept even if its program is killed the next instant, and two
    // programs appending at once lose nothing.
    void otherPrograms()
    {
        Store s;
        QProcess killed;
        killed.start(QStringLiteral(HISTORY_WRITER), {"once", s.path});
        QByteArray out;
        QVERIFY(QTest::qWaitFor([&] { return (out += killed.readAllStandardOutput()).contains("written"); }, 20000));
        killed.kill(); // SIGKILL: no destructor, no checkpoint
        QVERIFY(killed.waitForFinished());
        QCOMPARE(peek(s.path, "SELECT player, (SELECT COUNT(*) FROM items) FROM games"), QStringLiteral("Tué net|20"));

        Store t;
        QProcess anne, bruno;
        anne.start(QStringLiteral(HISTORY_WRITER), {"append", t.path, "Anne", "40"});
        bruno.start(QStringLiteral(HISTORY_WRITER), {"append", t.path, "Bruno", "40"});
        for (QProcess *p : {&anne, &bruno}) {
            QVERIFY(p->waitForFinished(60000));
            QCOMPARE(p->readAllStandardOutput() + p->readAllStandardError(), QByteArray("done\n"));
        }
        QCOMPARE(peek(t.path, "SELECT player, COUNT(*), (SELECT COUNT(*) || '/' || COUNT(DISTINCT game_id) FROM items)"
                              " FROM games GROUP BY player"),
                 QStringLiteral("Anne|40|1600/80 / Bruno|40|1600/80"));
    }
};

QTEST_GUILESS_MAIN(TestSqliteHistory)
#include "tst_sqlite_history.moc"
