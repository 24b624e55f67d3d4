// Guards the history file: a finished game stored exactly as the session reported it, read
// back by player and mode, bad files moved aside with one message, unwritable places
// leaving the game and the record files alone, a game still there after the writer is
// killed, two programs appending at once, and reading queries that go through indexes.
#include "ui/SqliteHistory.h"
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
class Peek
{
public:
    explicit Peek(const QString &path)
        : name_(QStringLiteral("peek-%1").arg(++count_))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.open();
    }
    ~Peek() { QSqlDatabase::removeDatabase(name_); }

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

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (char &b : bytes)
        b = char(QRandomGenerator::global()->bounded(256));
    return bytes;
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
        QVERIFY(h.startGame({QStringLiteral("Łukasz-élodie du moulin")}));
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
        Peek db(h.folder.file(kFile));
        QCOMPARE(db.value(QStringLiteral("PRAGMA user_version")), QStringLiteral("1"));
        QCOMPARE(db.value(QStringLiteral("PRAGMA journal_mode")), QStringLiteral("wal"));
        const QStringList games = db.rows(QStringLiteral("SELECT * FROM games"));
        QCOMPARE(games.size(), 1);
        const QStringList g = games.first().split(QLatin1Char('|'));
        QCOMPARE(g.mid(1, 4), (QStringList{h.shown["player"], "1", "2026-12-06T18:30:05.123Z", "2026-12-06T18:31:20.123Z"}));
        QCOMPARE(g[1], QStringLiteral("Łukasz-élodie du moulin"));
        QCOMPARE(Statistics::gameMiniCaption(g[5].toLongLong()), h.shown["gameMini"]);
        QCOMPARE(Statistics::gameAverageCaption(g[6].toLongLong()), h.shown["gameAverage"]);
        QCOMPARE(g[7], QStringLiteral("6"));
        const QStringList items = db.rows(QStringLiteral("SELECT * FROM items ORDER BY position"));
        QCOMPARE(items.size(), 20);
        QCOMPARE(items[0], QStringLiteral("1|1|A|360|300|2"));
        QCOMPARE(items[7], QStringLiteral("1|8|H|444|370|2"));
        QCOMPARE(items[19], QStringLiteral("1|20|T|490|490|0"));
        QCOMPARE(db.value(QStringLiteral("SELECT SUM(time_ms) / 20 = %1, MIN(time_ms) = %2 FROM items").arg(g[6], g[5])),
                 QStringLiteral("1|1"));
        QCOMPARE(db.rows(QStringLiteral("SELECT position, expected, typed FROM mistakes ORDER BY rowid")),
                 (QStringList{"1|A|\r", "1|A|#", "8|H|#", "8|H|#", "15|O|#", "15|O|#"}));
        QCOMPARE(db.value(QStringLiteral("SELECT SUM(count) || ' ' || COUNT(*) FROM expected_chars")),
                 QStringLiteral("20 20"));
        QVERIFY(h.boxes().filter(QStringLiteral("historique")).isEmpty());
    }

    void readsBackByPlayerAndMode()
    {
        Store s;
        SqliteHistory history(s.boxes, s.clock);
        history.record(gameOf(QStringLiteral("Anne"), 1, kMorning.addDays(2), QStringLiteral("AB"), QStringLiteral("A")));
        history.record(gameOf(QStringLiteral("Anne"), 1, kMorning, QStringLiteral("AÉ"), QStringLiteral("É")));
        history.record(gameOf(QStringLiteral("Anne"), 6, kMorning.addDays(1), QStringLiteral("Z"), QStringLiteral("Z")));
        history.record(gameOf(QStringLiteral("Bruno"), 1, kMorning, QStringLiteral("A"), QStringLiteral("A")));
        QStringList players = history.players();
        players.sort();
        QCOMPARE(players, (QStringList{"Anne", "Bruno"}));
        const QList<GameSummary> games = history.games(QStringLiteral("Anne"), 1);
        QCOMPARE(games.size(), 2);
        QCOMPARE(games[0].finishedAt, kMorning); // oldest first, whatever the order written
        QCOMPARE(games[1].wrongKeys, qint64(10));
        QStringList counts;
        for (const CharacterCount &c : history.characterCounts(QStringLiteral("Anne"), 1))
            counts << QStringLiteral("%1 %2/%3").arg(c.character).arg(c.wrong).arg(c.expected);
        counts.sort();
        QCOMPARE(counts, (QStringList{"A 10/20", "B 0/10", "É 10/10"}));
        const QList<ItemLine> lines = history.itemLines(QStringLiteral("Anne"));
        QCOMPARE(lines.size(), 60); // by mode, date and position
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
        QTest::addColumn<QString>("message"); // part of the one message; empty: none, file kept
        const QString unreadable = QStringLiteral("est illisible : il a été mis de côté sous le nom "
                                                  "« historique.sqlite.illisible-20261206-183005 » et un nouvel "
                                                  "historique commence.");
        QTest::newRow("random bytes and companions") << "random" << unreadable;
        QTest::newRow("damaged pages") << "damaged" << unreadable;
        QTest::newRow("another program's database") << "foreign" << unreadable;
        QTest::newRow("a newer version") << "newer" << "vient d'une version plus récente de Clavimo : il a été mis";
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
            Peek other(s.path);
            QVERIFY(other.exec(QStringLiteral("CREATE TABLE notes(text TEXT)")));
            QVERIFY(other.exec(QStringLiteral("PRAGMA user_version = %1").arg(kind == QLatin1String("newer") ? 2 : 0)));
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
        QCOMPARE(s.boxes.texts().size(), message.isEmpty() ? 0 : 1);
        QCOMPARE(QFile::exists(s.folder.file(aside)), !message.isEmpty());
        if (!message.isEmpty()) {
            QVERIFY2(s.boxes.shown[0].text.startsWith(QStringLiteral("Le fichier d'historique « historique.sqlite » "))
                         && s.boxes.shown[0].text.contains(message),
                     qPrintable(s.boxes.shown[0].text));
            QCOMPARE(s.boxes.shown[0].title, QStringLiteral("Clavimo"));
            QCOMPARE(s.folder.read(aside), before);
        }
        if (kind == QLatin1String("random"))
            QCOMPARE(s.folder.read(aside + "-wal") + s.folder.read(aside + "-shm"), QByteArray("not a lognot a map"));
        Peek db(s.path);
        QCOMPARE(db.value(QStringLiteral("PRAGMA user_version")), QStringLiteral("1"));
        QCOMPARE(db.rows(QStringLiteral("SELECT shown FROM items WHERE position = 1 ORDER BY game_id")),
                 (QStringList{"P", "Q"}));
    }

    // During real games: the records are announced and written first, then the history says
    // once what went wrong, and both games go on to their end. Root writes anywhere, so the
    // unwritable places are ones nobody can write to: a path under a regular file, and a
    // folder bearing the file's name.
    void badHistoryDuringGames_data()
    {
        QTest::addColumn<QString>("place");  // the history's path in the working folder
        QTest::addColumn<QString>("blocker"); // what is there first
        QTest::addColumn<QString>("message"); // the end of the one message
        const QString notKept = QStringLiteral(") : l'historique des parties n'est pas conservé.");
        QTest::newRow("under a regular file") << "dossier/historique.sqlite" << "dossier" << notKept;
        QTest::newRow("a folder bears the name") << "historique.sqlite" << "historique.sqlite/" << notKept;
        QTest::newRow("random bytes: moved aside") << "historique.sqlite" << "historique.sqlite"
                                                   << "et un nouvel historique commence.";
    }
    void badHistoryDuringGames()
    {
        QFETCH(QString, place);
        QFETCH(QString, blocker);
        QFETCH(QString, message);
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
        const QStringList boxes = h.boxes();
        QCOMPARE(boxes.filter(QStringLiteral("historique")).size(), 1);
        const qsizetype at = boxes.indexOf(boxes.filter(QStringLiteral("historique")).value(0));
        QCOMPARE(boxes.mid(at - 2, 2), (QStringList{"Record perso moyenne !", "Record absolu moyenne !"}));
        QVERIFY2(boxes[at].endsWith(message), qPrintable(boxes[at]));
        QCOMPARE(h.file("clvfic1.txt"), recordBytes("Paul", 450, 0) + recordBytes("Paul", 0, 450)
                                            + recordBytes("Paul", 450, 450));
        if (message.startsWith(QLatin1Char(')'))) // nothing was moved: what blocked is still there
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
        Peek db(s.path);
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM games WHERE player = 'Tué net'")), QStringLiteral("1"));
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM items")), QStringLiteral("20"));
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
        Peek db(s.path);
        QCOMPARE(db.rows(QStringLiteral("SELECT player, COUNT(*) FROM games GROUP BY player ORDER BY player")),
                 (QStringList{"Anne|40", "Bruno|40"}));
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT game_id) FROM items")), QStringLiteral("1600|80"));
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
            const QString text = plan.join(QStringLiteral(" / "));
            QVERIFY2(!plan.isEmpty(), qPrintable(sql));
            for (const QString &step : plan) // a joined table read whole would show as a SCAN
                QVERIFY2(!step.startsWith(QLatin1String("SCAN")) || step.contains(QLatin1String("COVERING INDEX")),
                         qPrintable(text));
            if (sql.contains(QLatin1String("player = ?")))
                QVERIFY2(text.contains(QLatin1String("INDEX games_by_player (player=?")), qPrintable(text));
        }
    }
};

QTEST_GUILESS_MAIN(TestSqliteHistory)
#include "tst_sqlite_history.moc"
