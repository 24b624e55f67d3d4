// Guards the history file: a finished game stored exactly as the session reported it, games
// left early not stored, bad files moved aside with one message, unwritable places leaving
// the game alone, a game still there after the writer is killed, two programs appending at
// once, and reading queries that go through the indexes.
#include "game/SqliteHistory.h"
#include "game/Statistics.h"
#include "support/GameSamples.h"
#include "support/RecordBytes.h"
#include "support/SessionHarness.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

const QString kFile = QStringLiteral("historique.sqlite");
const QDateTime kMorning(QDate(2026, 12, 6), QTime(9, 0), Qt::UTC);

// The history file read with a connection of its own, as any SQLite tool would.
class Inspector
{
public:
    explicit Inspector(const QString &path)
        : name_(QStringLiteral("inspector-%1").arg(++count_))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.open();
    }
    ~Inspector() { QSqlDatabase::removeDatabase(name_); }

    // Every row of a query, its values joined by "|".
    QStringList rows(const QString &sql) const
    {
        QSqlQuery q(QSqlDatabase::database(name_));
        QStringList out;
        if (!q.exec(sql))
            return {QStringLiteral("error: ") + q.lastError().text()};
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i)
                values << q.value(i).toString();
            out << values.join(QLatin1Char('|'));
        }
        return out;
    }
    QString value(const QString &sql) const { return rows(sql).value(0); }
    bool exec(const QString &sql) const { return QSqlQuery(QSqlDatabase::database(name_)).exec(sql); }

private:
    static inline int count_ = 0;
    QString name_;
};

// A game in which the letters of `letters` are the items, each missed once by a "#" when
// `missed` holds it.
FinishedGame gameOf(const QString &player, int mode, const QDateTime &finished, const QString &letters,
                    const QString &missed = QString())
{
    FinishedGame game;
    game.player = player;
    game.mode = mode;
    game.startedAt = finished.addSecs(-30);
    game.finishedAt = finished;
    for (int i = 0; i < 20; ++i) {
        const QChar c = letters.at(i % letters.size());
        PlayedItem item{QString(c), 400, 400, {}};
        if (missed.contains(c)) {
            item.mistakes.append({c, u'#'});
            item.timeMs = 440;
        }
        game.items << item;
    }
    game.mini = 400;
    game.average = 420;
    return game;
}

bool waitForLine(QProcess &process, const QByteArray &line, int ms)
{
    QElapsedTimer timer;
    timer.start();
    QByteArray out;
    while (timer.elapsed() < ms) {
        if (process.waitForReadyRead(100))
            out += process.readAllStandardOutput();
        if (out.contains(line))
            return true;
        if (process.state() == QProcess::NotRunning)
            return false;
    }
    return false;
}

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (char &b : bytes)
        b = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

} // namespace

class TestSqliteHistory : public QObject
{
    Q_OBJECT

private slots:
    void aFinishedGameAsTheSessionReportedIt()
    {
        Harness h;
        SqliteHistory history(h.ts.boxes, h.ts.wallClock);
        h.session->setHistory(&history);
        QVERIFY(h.startGame({QStringLiteral("Zoé")}));
        for (int i = 0; i < 20; ++i)
            h.ts.random.values << (i % 26 + 0.5) / 26; // A, B, C...
        const QDateTime start = h.ts.wallClock.now;
        for (int i = 0; i < 20; ++i) {
            if (i == 19)
                h.ts.wallClock.now = start.addSecs(75);
            h.playItem(300 + 10 * i, i % 7 == 0 ? 2 : 0); // items 1, 8 and 15 missed twice
        }
        Inspector db(h.folder.file(kFile));
        QCOMPARE(db.value(QStringLiteral("PRAGMA user_version")), QStringLiteral("1"));
        QCOMPARE(db.value(QStringLiteral("PRAGMA journal_mode")), QStringLiteral("wal"));
        const QStringList games = db.rows(QStringLiteral("SELECT * FROM games"));
        QCOMPARE(games.size(), 1);
        const QStringList g = games.first().split(QLatin1Char('|'));
        QCOMPARE(g.mid(1, 4), (QStringList{QStringLiteral("Zoé"), QStringLiteral("1"),
                                           QStringLiteral("2026-12-06T18:30:05.123Z"),
                                           QStringLiteral("2026-12-06T18:31:20.123Z")}));
        QCOMPARE(Statistics::gameMiniCaption(g[5].toLongLong()), h.shown["gameMini"]);
        QCOMPARE(Statistics::gameAverageCaption(g[6].toLongLong()), h.shown["gameAverage"]);
        QCOMPARE(g[7], QStringLiteral("6"));

        const QStringList items = db.rows(QStringLiteral(
            "SELECT position, shown, time_ms, raw_ms, wrong_keys FROM items ORDER BY position"));
        QCOMPARE(items.size(), 20);
        QCOMPARE(items[0], QStringLiteral("1|A|360|300|2"));
        QCOMPARE(items[1], QStringLiteral("2|B|310|310|0"));
        QCOMPARE(items[7], QStringLiteral("8|H|444|370|2"));
        QCOMPARE(items[19], QStringLiteral("20|T|490|490|0"));
        QCOMPARE(db.value(QStringLiteral("SELECT SUM(time_ms) / 20 = %1, MIN(time_ms) = %2 FROM items")
                              .arg(g[6], g[5])),
                 QStringLiteral("1|1"));
        QCOMPARE(db.rows(QStringLiteral("SELECT position, expected, typed FROM mistakes ORDER BY rowid")),
                 (QStringList{"1|A|#", "1|A|#", "8|H|#", "8|H|#", "15|O|#", "15|O|#"}));
        QCOMPARE(db.value(QStringLiteral("SELECT SUM(count) || ' ' || COUNT(*) FROM expected_chars")),
                 QStringLiteral("20 20"));
        for (const QString &text : h.boxes())
            QVERIFY2(!text.contains(QStringLiteral("historique")), qPrintable(text));
    }

    void gamesLeftEarlyAreNotStored()
    {
        Harness h;
        SqliteHistory history(h.ts.boxes, h.ts.wallClock);
        h.session->setHistory(&history);
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        for (int i = 0; i < 19; ++i)
            h.playItem(300);
        h.session->newGame();
        for (int i = 0; i < 19; ++i)
            h.playItem(300);
        h.session->selectMode(1);
        for (int i = 0; i < 19; ++i)
            h.playItem(300);
        h.session->quit();
        QVERIFY(!QFile::exists(h.folder.file(kFile))
                || Inspector(h.folder.file(kFile)).value(QStringLiteral("SELECT COUNT(*) FROM games")) == "0");
    }

    void readsBackByPlayerAndMode()
    {
        ScratchFolder folder;
        ScriptedBoxes boxes;
        ScriptedWallClock clock;
        SqliteHistory history(boxes, clock);
        history.record(gameOf(QStringLiteral("Anne"), 1, kMorning.addDays(2), QStringLiteral("AB"), QStringLiteral("A")));
        history.record(gameOf(QStringLiteral("Anne"), 1, kMorning, QStringLiteral("AÉ"), QStringLiteral("É")));
        history.record(gameOf(QStringLiteral("Anne"), 6, kMorning.addDays(1), QStringLiteral("Z"), QStringLiteral("Z")));
        history.record(gameOf(QStringLiteral("Bruno"), 1, kMorning, QStringLiteral("A"), QStringLiteral("A")));
        QVERIFY(boxes.shown.isEmpty());

        QStringList players = history.players();
        players.sort();
        QCOMPARE(players, (QStringList{QStringLiteral("Anne"), QStringLiteral("Bruno")}));
        const QList<GameSummary> games = history.games(QStringLiteral("Anne"), 1);
        QCOMPARE(games.size(), 2);
        QCOMPARE(games[0].finishedAt, kMorning); // oldest first, whatever the order written
        QCOMPARE(games[1].finishedAt, kMorning.addDays(2));
        QCOMPARE(games[1].wrongKeys, qint64(10));

        QStringList counts;
        for (const CharacterCount &c : history.characterCounts(QStringLiteral("Anne"), 1))
            counts << QStringLiteral("%1 %2/%3").arg(c.character).arg(c.wrong).arg(c.expected);
        counts.sort();
        QCOMPARE(counts, (QStringList{"A 10/20", "B 0/10", "É 10/10"}));

        const QList<ItemLine> lines = history.itemLines(QStringLiteral("Anne"));
        QCOMPARE(lines.size(), 60);
        QCOMPARE(lines[0].finishedAt, QStringLiteral("2026-12-06T09:00:00.000Z"));
        QCOMPARE(lines[0].shown, QStringLiteral("A"));
        QCOMPARE(lines[1].shown, QStringLiteral("É"));
        QCOMPARE(lines[1].wrongKeys, qint64(1));
        QCOMPARE(lines[20].finishedAt, QStringLiteral("2026-12-08T09:00:00.000Z"));
        QCOMPARE(lines[40].mode, 6);
        QCOMPARE(lines[59].position, 20);
    }

    // A file that is no history goes aside untouched, with its companions; the game goes
    // into a fresh file, and the player hears of it once.
    void badFilesMovedAside_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message"); // part of the one message; empty: none, file kept
        const QString unreadable = QStringLiteral("est illisible : il a été mis de côté sous le nom "
                                                  "« historique.sqlite.illisible-20261206-183005 » et un nouvel "
                                                  "historique commence.");
        QTest::newRow("random bytes") << "random" << unreadable;
        QTest::newRow("random bytes and companions") << "companions" << unreadable;
        QTest::newRow("damaged pages") << "damaged" << unreadable;
        QTest::newRow("another program's database") << "foreign" << unreadable;
        QTest::newRow("a newer version") << "newer"
                                         << QStringLiteral("vient d'une version plus récente de Clavimo : il a été mis "
                                                           "de côté");
        QTest::newRow("an empty file is a fresh history") << "empty" << QString();
    }
    void badFilesMovedAside()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        ScratchFolder folder;
        ScriptedBoxes boxes;
        ScriptedWallClock clock;
        const QString path = folder.file(kFile);
        if (kind == QLatin1String("random") || kind == QLatin1String("companions")) {
            folder.write(kFile, randomBytes(5000));
        } else if (kind == QLatin1String("damaged")) {
            {
                SqliteHistory earlier(boxes, clock);
                for (int i = 0; i < 30; ++i)
                    earlier.record(gameOf(QStringLiteral("Anne"), 1, kMorning, QStringLiteral("ABCDEF")));
            }
            QByteArray bytes = folder.read(kFile);
            QVERIFY(bytes.size() > 16384);
            bytes.replace(4096, bytes.size() - 4096, QByteArray(bytes.size() - 4096, '\xA5'));
            folder.write(kFile, bytes);
        } else if (kind != QLatin1String("empty")) {
            Inspector other(path);
            QVERIFY(other.exec(QStringLiteral("CREATE TABLE notes(text TEXT)")));
            if (kind == QLatin1String("newer"))
                QVERIFY(other.exec(QStringLiteral("PRAGMA user_version = 2")));
        } else {
            folder.write(kFile, QByteArray());
        }
        if (kind == QLatin1String("companions")) {
            folder.write(kFile + "-wal", "not a log");
            folder.write(kFile + "-shm", "not a map");
        }
        const QByteArray before = folder.read(kFile);
        SqliteHistory history(boxes, clock);
        history.record(gameOf(QStringLiteral("Paul"), 1, kMorning, QStringLiteral("P")));
        history.record(gameOf(QStringLiteral("Paul"), 1, kMorning, QStringLiteral("Q")));

        const QString aside = path + QStringLiteral(".illisible-20261206-183005");
        if (message.isEmpty()) {
            QVERIFY(boxes.shown.isEmpty());
            QVERIFY(!QFile::exists(aside));
        } else {
            QCOMPARE(boxes.shown.size(), 1);
            QCOMPARE(boxes.shown[0].title, QStringLiteral("Clavimo"));
            QVERIFY2(boxes.shown[0].text.startsWith(QStringLiteral("Le fichier d'historique « historique.sqlite » ")),
                     qPrintable(boxes.shown[0].text));
            QVERIFY2(boxes.shown[0].text.contains(message), qPrintable(boxes.shown[0].text));
            QCOMPARE(folder.read(QFileInfo(aside).fileName()), before);
        }
        if (kind == QLatin1String("companions")) {
            QCOMPARE(folder.read(QFileInfo(aside).fileName() + "-wal"), QByteArray("not a log"));
            QCOMPARE(folder.read(QFileInfo(aside).fileName() + "-shm"), QByteArray("not a map"));
        }
        Inspector db(path);
        QCOMPARE(db.value(QStringLiteral("PRAGMA user_version")), QStringLiteral("1"));
        QCOMPARE(db.rows(QStringLiteral("SELECT shown FROM items WHERE position = 1 ORDER BY game_id")),
                 (QStringList{QStringLiteral("P"), QStringLiteral("Q")}));
    }

    // Root writes anywhere, so the places that cannot hold the file are ones no user can
    // write to either: a path under a regular file, and a folder bearing the file's name.
    void unwritablePlaces_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QString>("path");
        QTest::newRow("under a regular file") << QStringLiteral("dossier") << QStringLiteral("dossier/historique.sqlite");
        QTest::newRow("a folder bears the name") << QStringLiteral("historique.sqlite/") << kFile;
    }
    void unwritablePlaces()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, path);
        Harness h;
        if (blocker.endsWith(QLatin1Char('/')))
            QVERIFY(QDir(h.folder.path()).mkdir(blocker));
        else
            h.folder.write(blocker, "un fichier");
        SqliteHistory history(h.ts.boxes, h.ts.wallClock, h.folder.file(path));
        h.session->setHistory(&history);
        h.folder.write(QStringLiteral("clvfic1.txt"), recordBytes("Anne", 300, 0) + recordBytes("Anne", 0, 300));
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        for (int i = 0; i < 40; ++i) {
            if (i == 20)
                h.session->newGame();
            h.playItem(400);
        }
        QCOMPARE(h.handOvers.size(), 2); // both games went to their end
        QCOMPARE(h.boxes().filter(QStringLiteral("historique")).size(), 1);
        QVERIFY2(h.boxes().last().endsWith(QStringLiteral(") : l'historique des parties n'est pas conservé.")),
                 qPrintable(h.boxes().last()));
        QCOMPARE(h.lastBox().title, QStringLiteral("Clavimo"));
        if (!blocker.endsWith(QLatin1Char('/')))
            QCOMPARE(h.folder.read(blocker), QByteArray("un fichier"));
        QVERIFY(QDir(h.folder.path() + QStringLiteral("/historique.sqlite")).isEmpty());
        // The record files are as without any history.
        QCOMPARE(h.file("clvfic1.txt").mid(38), recordBytes("Paul", 400, 400));
    }

    // The records are announced and written first; a history found damaged at the end of
    // the game adds its one message after them and the record files are as without it.
    void recordsComeFirst()
    {
        Harness h;
        h.folder.write(kFile, randomBytes(3000));
        SqliteHistory history(h.ts.boxes, h.ts.wallClock);
        h.session->setHistory(&history);
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        for (int i = 0; i < 20; ++i)
            h.playItem(i == 0 ? 500 : 450);
        QCOMPARE(h.file("clvfic1.txt"), recordBytes("Paul", 450, 0) + recordBytes("Paul", 0, 452)
                                            + recordBytes("Paul", 450, 452));
        QCOMPARE(h.boxes().mid(h.boxes().size() - 3, 2),
                 (QStringList{QStringLiteral("Record perso moyenne !"), QStringLiteral("Record absolu moyenne !")}));
        QVERIFY(h.boxes().last().contains(QStringLiteral("mis de côté")));
        QCOMPARE(Inspector(h.folder.file(kFile)).value(QStringLiteral("SELECT average FROM games")),
                 QStringLiteral("452"));
    }

    void aKilledWriterLeavesItsGame()
    {
        ScratchFolder folder;
        QProcess writer;
        writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writer.start(QStringLiteral(HISTORY_WRITER), {QStringLiteral("once"), folder.file(kFile)});
        QVERIFY(writer.waitForStarted());
        QVERIFY(waitForLine(writer, "written", 20000));
        writer.kill(); // SIGKILL: no destructor, no checkpoint
        QVERIFY(writer.waitForFinished());
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
        Inspector db(folder.file(kFile));
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM games WHERE player = 'Tué net'")), QStringLiteral("1"));
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM items")), QStringLiteral("20"));
    }

    void twoProgramsAppendTogether()
    {
        ScratchFolder folder;
        QProcess anne, bruno;
        for (QProcess *p : {&anne, &bruno})
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        anne.start(QStringLiteral(HISTORY_WRITER), {"append", folder.file(kFile), "Anne", "40"});
        bruno.start(QStringLiteral(HISTORY_WRITER), {"append", folder.file(kFile), "Bruno", "40"});
        for (QProcess *p : {&anne, &bruno}) {
            QVERIFY(p->waitForFinished(60000));
            QCOMPARE(p->exitCode(), 0);
            QCOMPARE(p->readAllStandardOutput(), QByteArray("done\n"));
        }
        Inspector db(folder.file(kFile));
        QCOMPARE(db.rows(QStringLiteral("SELECT player, COUNT(*) FROM games GROUP BY player ORDER BY player")),
                 (QStringList{"Anne|40", "Bruno|40"}));
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT game_id) FROM items")),
                 QStringLiteral("1600|80"));
    }

    // No reading query reads a whole table: the games are searched through their index,
    // the mistakes and the counts of due characters through their game.
    void readingQueriesUseIndexes()
    {
        ScratchFolder folder;
        ScriptedBoxes boxes;
        ScriptedWallClock clock;
        SqliteHistory history(boxes, clock);
        std::mt19937 random(7);
        for (int i = 0; i < 30; ++i)
            history.record(sampleGame(random, i % 2 ? QStringLiteral("Anne") : QStringLiteral("Bruno"), 1 + 5 * (i % 3 == 0),
                                      kMorning.addSecs(i * 600)));
        const QStringList queries = SqliteHistory::readingQueries();
        QCOMPARE(queries.size(), 5);
        for (const QString &sql : queries) {
            const QStringList plan = history.queryPlan(sql);
            QVERIFY2(!plan.isEmpty(), qPrintable(sql));
            const QString text = plan.join(QStringLiteral(" / "));
            for (const QString &step : plan) {
                if (step.startsWith(QLatin1String("SCAN")))
                    QVERIFY2(step.contains(QLatin1String("COVERING INDEX")), qPrintable(text));
            }
            if (sql.contains(QLatin1String("player = ?")))
                QVERIFY2(text.contains(QRegularExpression(
                             QStringLiteral("SEARCH (g|games) USING (COVERING )?INDEX games_by_player \\(player=\\?"))),
                         qPrintable(text));
            if (sql.contains(QLatin1String("mistakes")))
                QVERIFY2(text.contains(QLatin1String("SEARCH m USING INDEX mistakes_by_game (game_id=?)")), qPrintable(text));
            if (sql.contains(QLatin1String("expected_chars")))
                QVERIFY2(text.contains(QLatin1String("SEARCH e USING PRIMARY KEY (game_id=?)")), qPrintable(text));
            if (sql.contains(QLatin1String("JOIN items")))
                QVERIFY2(text.contains(QLatin1String("SEARCH i USING PRIMARY KEY (game_id=?)")), qPrintable(text));
        }
    }
};

QTEST_GUILESS_MAIN(TestSqliteHistory)
#include "tst_sqlite_history.moc"
