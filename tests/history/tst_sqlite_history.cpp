// Guards the history file (its answers are in tst_server_history, beside the server's): a
// game stored as the session reported it; older versions brought up to date in place; bad
// files moved aside and unwritable places told once; games kept when their writer is
// killed or writes beside another program.
#include "history/SqliteHistory.h"
#include "support/SessionHarness.h"
#include "support/SqlitePeek.h"

#include <QProcess>
#include <QtTest>

namespace {

const QString kFile = QStringLiteral("historique.sqlite");
const QDateTime kMorning(QDate(2026, 12, 6), QTime(9, 0), Qt::UTC);

FinishedGame gameOf(const QString &letter, const QDateTime &finished, bool practice = false)
{
    FinishedGame game{"Léa", 1, finished.addSecs(-30), finished, 400, 420, {}, practice};
    for (int i = 0; i < 20; ++i)
        game.items << PlayedItem{letter, 400, 440, {{letter[0], u'#'}}};
    return game;
}

// "version: statement": what the next versions added, taken back from a new file to make a
// file of that version: the lessons' columns (4), the practice mark (3), the id and outbox (2).
const QStringList kTakenBack = {"3: ALTER TABLE games DROP COLUMN lesson_keys", "3: ALTER TABLE games DROP COLUMN lesson_target_ms",
                                "2: ALTER TABLE games DROP COLUMN practice", "1: DROP INDEX games_by_uid", "1: DROP TABLE outbox",
                                "1: ALTER TABLE games DROP COLUMN uid"};
// The first game's rows in every version: each item with its wrong key, the keys due.
const QString kOldGame = QStringLiteral(
    "SELECT g.id, player, mode, started_at, finished_at, mini, average, g.wrong_keys, i.*, m.*, e.* FROM games AS g"
    " JOIN items AS i ON i.game_id = g.id JOIN mistakes AS m ON m.game_id = g.id AND m.position = i.position"
    " JOIN expected_chars AS e ON e.game_id = g.id WHERE g.id = 1");
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
    // wrong key (Enter included) with the character due, the game's figures.
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
        QCOMPARE(peek(path, "SELECT id, player, mode, started_at, finished_at, mini, average, wrong_keys, practice FROM games"),
                 "1|" + name + "|1|2026-12-06T18:30:05.123Z|2026-12-06T18:31:20.123Z|310|406|6|0");
        QCOMPARE(peek(path, "SELECT * FROM items WHERE position IN (1, 8, 20) ORDER BY position"),
                 QStringLiteral("1|1|A|360|300|2 / 1|8|H|444|370|2 / 1|20|T|490|490|0"));
        QCOMPARE(peek(path, "SELECT position, expected, typed FROM mistakes ORDER BY rowid"),
                 QStringLiteral("1|A|\r / 1|A|# / 8|H|# / 8|H|# / 15|O|# / 15|O|#"));
    }

    // A file of each older version is brought to the current one in place, every row kept,
    // with the tables and indexes of a new file; the games kept from then on carry a unique
    // id, tell practice apart, and wait in the outbox only for a server.
    void olderVersionsBroughtUpToDate()
    {
        const auto keep = [](Store &s, bool outbox, const QList<FinishedGame> &games) {
            SqliteHistory history(s.boxes, s.clock);
            history.setOutbox(outbox);
            for (const FinishedGame &game : games)
                history.record(game);
        };
        Store fresh;
        keep(fresh, false, {gameOf("A", kMorning)});
        for (int version : {1, 2, 3}) {
            Store s;
            keep(s, true, {gameOf("K", kMorning.addSecs(-60))});
            for (const QString &sql : kTakenBack)
                QCOMPARE(sql.left(1).toInt() < version ? QString() : peek(s.path, sql.mid(3)), QString());
            QCOMPARE(peek(s.path, QStringLiteral("PRAGMA user_version = %1").arg(version)), QString());
            const QString kept = peek(s.path, kOldGame);
            keep(s, version > 1, {gameOf("K", kMorning, true), gameOf("A", kMorning.addSecs(60))});
            QCOMPARE(peek(s.path, "PRAGMA user_version"), QString::number(SqliteHistory::kSchemaVersion));
            QCOMPARE(peek(s.path, kSchema), peek(fresh.path, kSchema));
            QCOMPARE(peek(s.path, kOldGame), kept);
            QCOMPARE(peek(s.path, "SELECT id, practice, uid IS NULL FROM games ORDER BY id"),
                     QStringLiteral("1|0|%1 / 2|1|0 / 3|0|0").arg(version == 1));
            QCOMPARE(peek(s.path, "SELECT group_concat(game_id) FROM outbox"), QString(version == 1 ? "" : "1,2,3"));
        }
    }

    // "what is there | what the one message says": a file that is no history goes aside
    // untouched, with its companions, and the games go into a new file; an empty file is a
    // new history; where nothing can be written (root writes anywhere, so a folder under
    // the name or above it), the games are not kept and what is there stays.
    void badFilesAndPlaces()
    {
        const QString aside = kFile + ".illisible-20261206-183005", moved = "\u00A0: il a été mis de côté sous le nom «\u00A0" + aside;
        for (const QString &row : {"random|est illisible" + moved, "damaged|est illisible" + moved, "foreign|est illisible" + moved,
                                   "newer|vient d'une version plus récente de Clavimo" + moved, QString("empty|"),
                                   QString("folder|ne peut pas être écrit dans le dossier de travail (un dossier porte ce nom)"),
                                   QString("nowhere|ne peut pas être écrit dans le dossier de travail (ouverture impossible)")}) {
            const QString kind = row.section('|', 0, 0), message = row.section('|', 1);
            Store s;
            if (kind == "damaged") {
                for (int i = 0; i < 30; ++i)
                    SqliteHistory(s.boxes, s.clock).record(gameOf("A", kMorning));
                QByteArray bytes = s.folder.read(kFile);
                s.folder.write(kFile, bytes.replace(4096, bytes.size() - 4096, QByteArray(bytes.size() - 4096, '\xA5')));
            } else if (kind == "foreign" || kind == "newer") {
                peek(s.path, "CREATE TABLE notes(text TEXT)");
                peek(s.path, QStringLiteral("PRAGMA user_version = %1").arg(kind == "newer" ? SqliteHistory::kSchemaVersion + 1 : 0));
            } else if (kind == "folder") {
                QVERIFY(QDir(s.folder.path()).mkdir(kFile));
            } else if (kind == "nowhere") {
                s.folder.write("dossier", "a file");
            } else {
                s.folder.write(kFile, kind == "random" ? QByteArray(5000, '\x5A') : QByteArray());
                s.folder.write(kFile + "-wal", "not a log");
                s.folder.write(kFile + "-shm", "not a map");
            }
            const QByteArray before = s.folder.read(kFile);
            SqliteHistory history(s.boxes, s.clock, s.folder.file(kind == "nowhere" ? "dossier/" + kFile : kFile));
            history.record(gameOf("P", kMorning));
            history.record(gameOf("Q", kMorning));
            const QString told = s.boxes.texts().join('\n');
            QVERIFY2(message.isEmpty() ? told.isEmpty() : told.startsWith("Le fichier d'historique «\u00A0historique.sqlite\u00A0» " + message)
                         && told.endsWith(message.contains(aside) ? "\u00A0» et un nouvel historique commence." : "l'historique des parties n'est pas conservé."),
                     qPrintable(told));
            QCOMPARE(s.folder.read(aside), message.contains(aside) ? before : QByteArray());
            if (kind == "random")
                QCOMPARE(s.folder.read(aside + "-wal") + s.folder.read(aside + "-shm"), QByteArray("not a lognot a map"));
            if (kind == "folder" || kind == "nowhere")
                QVERIFY(kind == "folder" ? QFileInfo(s.path).isDir() : s.folder.read("dossier") == "a file");
            else
                QCOMPARE(peek(s.path, "SELECT shown, (SELECT user_version FROM pragma_user_version), (SELECT journal_mode FROM"
                                      " pragma_journal_mode) FROM items WHERE position = 1 ORDER BY game_id"),
                         QStringLiteral("P|%1|wal / Q|%1|wal").arg(SqliteHistory::kSchemaVersion));
        }
    }

    // Every game announced is kept whole even if its program is killed the next instant,
    // and two programs appending at once lose nothing.
    void otherPrograms()
    {
        Store s;
        QProcess killed, anne, bruno;
        killed.start(QStringLiteral(HISTORY_WRITER), {"append", s.path, "Tué net", "100000"});
        QByteArray out;
        QVERIFY(QTest::qWaitFor([&] { return (out += killed.readAllStandardOutput()).contains("written"); }, 20000));
        killed.kill(); // SIGKILL: no destructor, no checkpoint
        QVERIFY(killed.waitForFinished());
        const int announced = int((out + killed.readAllStandardOutput()).count("written"));
        const QStringList kept = peek(s.path, "SELECT COUNT(*), (SELECT COUNT(*) FROM items) FROM games").split('|');
        QVERIFY2(kept[0].toInt() >= announced && kept[1].toInt() == 20 * kept[0].toInt(), qPrintable(kept.join(' ')));

        Store t;
        anne.start(QStringLiteral(HISTORY_WRITER), {"append", t.path, "Anne", "40"});
        bruno.start(QStringLiteral(HISTORY_WRITER), {"append", t.path, "Bruno", "40"});
        for (QProcess *p : {&anne, &bruno}) {
            QVERIFY(p->waitForFinished(60000));
            QCOMPARE(p->readAllStandardError() + QByteArray::number(p->exitCode()), QByteArray("0"));
        }
        QCOMPARE(peek(t.path, "SELECT player, COUNT(*), (SELECT COUNT(*) || '/' || COUNT(DISTINCT game_id) FROM items)"
                              " FROM games GROUP BY player"),
                 QStringLiteral("Anne|40|1600/80 / Bruno|40|1600/80"));
    }
};

QTEST_GUILESS_MAIN(TestSqliteHistory)
#include "tst_sqlite_history.moc"
