// The benchmarks, one per first argument. Each prints its figures as it goes and asserts
// nothing about time, except the practice draw (over 50 ms it fails); each fails when a
// step gives a wrong result. Run with ctest --preset benchmark, or by hand:
//   bench players [players]          a classroom's record file (100,000 players)
//   bench history [games] [folder]   one player's 10,000 games in the history file
//   bench practice [games] [folder]  a practice game's 20 items over 10,000 games
//   bench server [games] [pupils]    the classroom's server: 100,000 games of 30 pupils
//   bench class [games] [pupils]     « La classe » over 100,000 games of 30 pupils, from the
//                                    file and from the server (over 500 ms it fails)
//   bench course                     the course's words read, then a lesson's draw on the
//                                    French AZERTY at three stages: the draw made and its 20
//                                    items (over 20 ms it fails), and 10,000 items
#include "game/course/CourseKeys.h"
#include "game/course/CourseWords.h"
#include "game/course/LessonDraw.h"
#include "game/session/GameSession.h"
#include "game/keyboard/KeyboardLayouts.h"
#include "game/session/PlayerNames.h"
#include "game/practice/PracticeDraw.h"
#include "game/progress/ProgressData.h"
#include "game/words/WordList.h"
#include "history/PostgresStore.h"
#include "history/ServerHistory.h"
#include "history/ServerPreparation.h"
#include "history/SqliteHistory.h"
#include "platform/SystemRandom.h"
#include "platform/Windows1252.h"
#include "support/GameSamples.h"
#include "support/EntryBytes.h"
#include "support/TestDoubles.h"
#include "support/TestPostgres.h"
#include "ui/ClassWindow.h"
#include "ui/PlayerListDialog.h"
#include "ui/ProgressionWindow.h"
#include "ui/RecordsWindow.h"
#include "adapters/XkbKeyboards.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUuid>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <random>

#if defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif

namespace {

double msSince(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

// Lines reach the terminal at once, so that a slow step shows while it runs.
void print(const char *format, auto... values)
{
    std::printf(format, values...);
    std::fflush(stdout);
}

const QDateTime kFirstGame(QDate(2025, 1, 1), QTime(8, 0), Qt::UTC);

// The median and the slowest of the times, sorted in place.
QString spread(QList<double> &times)
{
    std::sort(times.begin(), times.end());
    return QStringLiteral("median %1 ms, slowest %2 ms (%3 runs)").arg(times[times.size() / 2], 0, 'f', 2).arg(times.last(), 0, 'f', 2).arg(times.size());
}

// The progression window as a player opens it with F5: built, shown and painted, three times.
bool timeProgressionOpening(HistoryReader &history, MessageBoxes &boxes, const QString &player)
{
    XkbKeyboards keyboards;
    GivenKeyboardNames serverKeyboard;
    RememberedLayout memory;
    KeyboardLayouts layouts(keyboards, serverKeyboard, memory);
    ScriptedWallClock clock;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer open;
        open.start();
        ProgressionWindow window(history, boxes, layouts, clock, player, 1);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        window.grab(); // paints the chart and the keyboard
        print("opening the progression window (%s): %.1f ms\n", i == 0 ? "first" : "again", msSince(open));
    }
    return true;
}

// The steps that read the whole record file: the player list, a newcomer, the records list.
bool players(int count)
{
    ScratchFolder folder;
    folder.write(PlayerFile::fileNameFor(1), classFile(count));
    TestServices ts;
    GameSession session(ts.services());
    session.prepare();
    if (!session.openFiles() || !session.activate(false))
        return false;
    QElapsedTimer timer;
    timer.start();
    const qsizetype known = PlayerNames::known(session.playerFile(), PlayerNames::Order()).size();
    print("%d players: reading and sorting the names %.1f ms (%lld names)\n", count, msSince(timer), qint64(known));
    timer.restart();
    {
        PlayerListDialog dialog(session.playerFile(), {}, ts.boxes);
        dialog.show();
        QCoreApplication::processEvents();
        print("player list dialog open: %.1f ms\n", msSince(timer));
        if (dialog.findChild<QComboBox *>()->count() != count)
            return false;
    }
    timer.restart();
    session.setPlayers({QStringLiteral("Newcomer")}); // found nowhere, appended, greeted
    session.activate(false);
    session.afterPlayersChosen();
    print("new player greeted: %.1f ms\n", msSince(timer));
    if (ts.boxes.texts() != QStringList{QStringLiteral("Bienvenue au Club CLAVIMO !")})
        return false;
    timer.restart();
    RecordsWindow records(session.playerFile(), 1);
    records.show();
    QCoreApplication::processEvents();
    print("records list open: %.1f ms\n", msSince(timer));
#if defined(Q_OS_UNIX)
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    print("peak memory: %.1f MB\n", double(usage.ru_maxrss) / 1024.0);
#endif
    const auto *view = records.findChild<QTableView *>();
    return view && view->model()->rowCount() == count + 1;
}

// One player's games written through the game's own history class, one transaction each,
// then one more game written (synchronised to the disk) and the progression window opened.
bool history(int games)
{
    ScriptedBoxes boxes;
    ScriptedWallClock clock;
    std::mt19937 random(2026);
    {
        SqliteHistory history(boxes, clock);
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < games; ++i)
            history.record(sampleGame(random, QStringLiteral("Paul"), 1, kFirstGame.addSecs(qint64(i) * 3000), 600, 0.2));
        print("filled %d games in %.1f s; file %.1f MB\n", games, msSince(t) / 1000,
              double(QFileInfo(SqliteHistory::fileName()).size()) / 1e6);
    }
    SqliteHistory history(boxes, clock);
    QList<double> writes;
    for (int i = 0; i < 30; ++i) {
        const FinishedGame game = sampleGame(random, QStringLiteral("Paul"), 1, kFirstGame.addSecs(qint64(games + i) * 3000), 600, 0.2);
        QElapsedTimer t;
        t.start();
        history.record(game);
        writes << msSince(t);
    }
    print("writing a finished game: %s\n", qPrintable(spread(writes)));
    QElapsedTimer t;
    t.start();
    const ProgressData data = loadProgress(history, QStringLiteral("Paul"), 1);
    print("reading the window's data: %.1f ms (%lld games)\n", msSince(t), qint64(data.games.size()));
    return data.games.size() == games + 30 && timeProgressionOpening(history, boxes, QStringLiteral("Paul"))
        && boxes.shown.isEmpty();
}

// A practice game's 20 items chosen over six-letter games of words of a 4,000-word list
// (the shipped one, then made-up words), where the player misses K and W a third of the
// time and every other character one time in fifty.
bool practice(int games)
{
    constexpr int kWords = 4000;
    std::mt19937 random(2026);
    WordList shipped;
    QStringList words;
    if (shipped.open(QDir(QStringLiteral(CLAVIMO_BUILD_DATA_DIR)).filePath(WordList::fileName())))
        words = shipped.words();
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzéèàçêô");
    QByteArray bytes;
    for (qsizetype i = 0; i < kWords; ++i) {
        QString word = i < words.size() ? words[i].toLower() : QString();
        while (word.size() < WordList::kWordLength)
            word += letters.at(qsizetype(random() % letters.size()));
        bytes += Windows1252::encode(word);
    }
    QFile out(WordList::fileName());
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush())
        return false;
    WordList list;
    if (!list.open(WordList::fileName()) || list.usableCount() != kWords)
        return false;
    words = list.words();
    ScriptedBoxes boxes;
    ScriptedWallClock clock;
    {
        SqliteHistory history(boxes, clock);
        for (int i = 0; i < games; ++i) {
            FinishedGame game = sampleGame(random, QStringLiteral("Paul"), 6, kFirstGame.addSecs(qint64(i) * 3000), 900, 0);
            for (PlayedItem &item : game.items) {
                item.shown = words[qsizetype(random() % std::uint32_t(words.size()))];
                for (QChar c : item.shown) {
                    if (random() % ((c == u'K' || c == u'W') ? 3 : 50) == 0)
                        item.mistakes << Mistake{c, u'L'};
                }
            }
            history.record(game);
        }
    }
    SqliteHistory history(boxes, clock);
    SystemRandom source;
    source.seedFromClock();
    QList<double> times;
    qsizetype weak = 0;
    bool practisesK = true;
    for (int run = 0; run < 20; ++run) {
        QElapsedTimer t;
        t.start();
        PracticeDraw draw = PracticeDraw::forPlayer(&history, QStringLiteral("Paul"), 6, list);
        QStringList chosen;
        for (int i = 0; i < 20; ++i)
            chosen << draw.next(source);
        times << msSince(t);
        practisesK = practisesK && draw.plan().practised().contains(u'K');
        for (const QString &item : chosen)
            weak += item.contains(u'K') || item.contains(u'W') ? 1 : 0;
    }
    print("choosing the 20 items of a practice game (%d games, %d words): %s; %.1f %% hold K or W\n", games, kWords,
          qPrintable(spread(times)), double(weak) / 4.0);
    return times[times.size() / 2] <= 50 && boxes.shown.isEmpty() && practisesK;
}

// The games made on the server itself in a few statements: each pupil's games over the
// year, 20 letters an item, a wrong key now and then, with their characters due; in one
// transaction, since the server checks at its end that each game has its 20 items.
QString fillScript(int games, int pupils)
{
    return QStringLiteral(
               "BEGIN;"
               "INSERT INTO games(uid, player, mode, started_at, finished_at, mini, average, wrong_keys)"
               " SELECT md5(g::text), 'Élève ' || (g %% %2 + 1), CASE WHEN (g / %2) %% 3 = 0 THEN 6 ELSE 1 END,"
               " to_char(timestamp '2026-01-01' + g * interval '5 minutes', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"'),"
               " to_char(timestamp '2026-01-01' + g * interval '5 minutes' + interval '30 seconds',"
               " 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"'), 300 + g %% 200, 500 + g %% 300, g %% 4"
               " FROM generate_series(1, %1) AS g;"
               "INSERT INTO items(game_id, position, shown, time_ms, raw_ms, wrong_keys)"
               " SELECT id, p, chr((65 + (id * 7 + p * 13) %% 26)::int), 400 + (id + p) %% 500, 400 + (id + p) %% 500, 0"
               " FROM games, generate_series(1, 20) AS p;"
               "INSERT INTO mistakes(game_id, position, expected, typed)"
               " SELECT i.game_id, i.position, i.shown, 'X' FROM items AS i JOIN games AS g ON g.id = i.game_id"
               " WHERE i.position <= g.wrong_keys;"
               "INSERT INTO expected_chars(game_id, character, count)"
               " SELECT game_id, shown, count(*) FROM items GROUP BY game_id, shown;"
               "COMMIT;"
               "ANALYZE;")
        .replace(QStringLiteral("%%"), QStringLiteral("%"))
        .arg(games)
        .arg(pupils);
}

// A fresh room on the test suite's server, prepared by its owner, then used by the
// computers' role: its address, or nothing (said why) when there is no server.
std::optional<ServerAddress> preparedRoom(const TestPostgres &server, const QString &database)
{
    QString error;
    if (!server.available() || !server.createDatabase(database, &error, server.ownerUser())) {
        print("no PostgreSQL server: %s\n", qPrintable(server.available() ? error : server.skipReason()));
        return std::nullopt;
    }
    qputenv("PGPASSWORD", server.ownerPassword().toUtf8());
    const RoomCommandResult prepared =
        prepareServer(*ServerAddress::parse(server.uri(database, server.ownerUser()), &error), server.user());
    if (prepared.exitCode != 0) {
        print("%s\n", qPrintable(prepared.error));
        return std::nullopt;
    }
    qputenv("PGPASSWORD", server.password().toUtf8());
    return ServerAddress::parse(server.uri(database), &error);
}

// The classroom's history on the test suite's server over the loopback: games filled in
// by the server, then one more game sent as at the end of each game, and one pupil's
// progression window read from the server.
bool server(int games, int pupils)
{
    TestPostgres server;
    QString error;
    const QString database = QStringLiteral("bench_room");
    const auto address = preparedRoom(server, database);
    if (!address)
        return false;
    ScriptedBoxes boxes;
    ScriptedWallClock clock;
    std::mt19937 random(2026);
    {
        PostgresStore store(*address);
        QElapsedTimer t;
        t.start();
        if (store.open() != PostgresStore::Status::Ready || !server.execute(fillScript(games, pupils), database, &error)) {
            print("%s%s\n", qPrintable(store.problem()), qPrintable(error));
            return false;
        }
        print("filled %d games of %d pupils on the server in %.1f s\n", games, pupils, msSince(t) / 1000);
        QList<double> writes;
        for (int i = 0; i < 30; ++i) {
            const FinishedGame game = sampleGame(random, QStringLiteral("Élève 1"), 1, clock.nowUtc(), 600, 0.1);
            QElapsedTimer w;
            w.start();
            if (!store.send(QUuid::createUuid().toString(QUuid::WithoutBraces), game))
                return false;
            writes << msSince(w);
        }
        print("sending a finished game to the server: %s\n", qPrintable(spread(writes)));
    }
    // The statements run in the room's database, counted by the server once every
    // connection to it has ended and handed over its figures.
    const auto statements = [&] {
        for (int i = 0; i < 100 && server.query(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE datname = '%1'")
                                                    .arg(database)) != QLatin1String("0"); ++i)
            QThread::msleep(50);
        return server.query(QStringLiteral("SELECT xact_commit + xact_rollback FROM pg_stat_database WHERE datname = '%1'")
                                .arg(database)).toInt();
    };
    const int before = statements();
    QTemporaryDir scratch;
    SqliteHistory file(boxes, clock, scratch.filePath(SqliteHistory::fileName()));
    bool shown = false;
    {
        ServerHistory history(file, *address, boxes);
        QElapsedTimer t;
        t.start();
        const ProgressData data = loadProgress(history, QStringLiteral("Élève 7"), 1);
        print("reading one pupil's data from the server: %.1f ms (%lld games)\n", msSince(t), qint64(data.games.size()));
        shown = data.games.size() >= games / pupils / 2 && timeProgressionOpening(history, boxes, QStringLiteral("Élève 7"));
    }
    // The figures are read in a few statements, whatever the number of games.
    const int read = statements() - before;
    print("statements run on the server for the four readings: %d\n", read);
    if (!boxes.shown.isEmpty())
        print("message: %s\n", qPrintable(boxes.texts().join(QLatin1Char('\n'))));
    return shown && boxes.shown.isEmpty() && read > 0 && read <= 100;
}

// The same games as fillScript, in the history file: every tenth a practice game.
bool fillFile(const QString &path, int games, int pupils, QString *error)
{
    const QString twenty = QStringLiteral("(WITH RECURSIVE q(p) AS (SELECT 1 UNION ALL SELECT p + 1 FROM q WHERE p < 20)"
                                          " SELECT p FROM q) AS n");
    const QStringList script = {
        QStringLiteral("BEGIN"),
        QStringLiteral("WITH RECURSIVE s(g) AS (SELECT 1 UNION ALL SELECT g + 1 FROM s WHERE g < %1)"
                       " INSERT INTO games(uid, player, mode, started_at, finished_at, mini, average, wrong_keys, practice)"
                       " SELECT g, 'Élève ' || (g %% %2 + 1), CASE WHEN (g / %2) %% 3 = 0 THEN 6 ELSE 1 END,"
                       " strftime('%Y-%m-%dT%H:%M:%S.000Z', '2026-01-01', '+' || (g * 300) || ' seconds'),"
                       " strftime('%Y-%m-%dT%H:%M:%S.000Z', '2026-01-01', '+' || (g * 300 + 30) || ' seconds'),"
                       " 300 + g %% 200, 500 + g %% 300, g %% 4, g %% 10 = 0 FROM s")
            .replace(QStringLiteral("%%"), QStringLiteral("%"))
            .arg(games)
            .arg(pupils),
        QStringLiteral("INSERT INTO items(game_id, position, shown, time_ms, raw_ms, wrong_keys)"
                       " SELECT id, n.p, char(65 + (id * 7 + n.p * 13) % 26), 400 + (id + n.p) % 500,"
                       " 400 + (id + n.p) % 500, 0 FROM games, ")
            + twenty,
        QStringLiteral("INSERT INTO mistakes(game_id, position, expected, typed) SELECT i.game_id, i.position, i.shown, 'X'"
                       " FROM items AS i JOIN games AS g ON g.id = i.game_id WHERE i.position <= g.wrong_keys"),
        QStringLiteral("INSERT INTO expected_chars(game_id, character, count)"
                       " SELECT game_id, shown, count(*) FROM items GROUP BY game_id, shown"),
        QStringLiteral("COMMIT"),
        QStringLiteral("ANALYZE"),
    };
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-fill"));
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        for (const QString &sql : script) {
            if (ok && !q.exec(sql)) {
                *error = q.lastError().text();
                ok = false;
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-fill"));
    return ok;
}

// « La classe » as F7 opens it: built, shown and painted, three times; the slowest at most
// half a second.
bool timeClassOpening(HistoryReader &history, MessageBoxes &boxes, const char *from, int pupils)
{
    ScriptedWallClock clock;
    QElapsedTimer read;
    read.start();
    const qsizetype players = history.classFigures(1, clock.nowUtc().addDays(-7), 10, 30).size();
    print("reading the figures from the %s: %.1f ms (%lld players)\n", from, msSince(read), qint64(players));
    double slowest = 0;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer open;
        open.start();
        ClassWindow window(history, boxes, clock, 1, ClassWindow::ProgressionOpener());
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        window.grab();
        const double ms = msSince(open);
        slowest = std::max(slowest, ms);
        print("opening « La classe » from the %s (%s): %.1f ms, %d rows\n", from, i == 0 ? "first" : "again", ms,
              window.table()->model()->rowCount());
        if (window.table()->model()->rowCount() != pupils)
            return false;
    }
    return slowest <= 500;
}

// The class overview over 30 pupils' games, from the history file, then from the test
// suite's server over the loopback.
bool classOverview(int games, int pupils)
{
    ScriptedBoxes boxes;
    ScriptedWallClock clock;
    QString error;
    SqliteHistory file(boxes, clock);
    QElapsedTimer t;
    t.start();
    if (!fillFile(file.path(), games, pupils, &error)) {
        print("%s\n", qPrintable(error));
        return false;
    }
    print("filled %d games of %d pupils in the file in %.1f s; file %.1f MB\n", games, pupils, msSince(t) / 1000,
          double(QFileInfo(file.path()).size()) / 1e6);
    const bool fromFile = timeClassOpening(file, boxes, "file", pupils);

    TestPostgres server;
    const QString database = QStringLiteral("bench_class");
    const auto address = preparedRoom(server, database);
    if (!address)
        return false;
    t.restart();
    if (!server.execute(fillScript(games, pupils) + QStringLiteral("UPDATE games SET practice = 1 WHERE id % 10 = 0;"
                                                                   "ANALYZE;"),
                        database, &error)) {
        print("%s\n", qPrintable(error));
        return false;
    }
    print("filled %d games of %d pupils on the server in %.1f s\n", games, pupils, msSince(t) / 1000);
    QTemporaryDir scratch;
    SqliteHistory local(boxes, clock, scratch.filePath(SqliteHistory::fileName()));
    ServerHistory history(local, *address, boxes);
    const bool fromServer = timeClassOpening(history, boxes, "server", pupils);
    if (!boxes.shown.isEmpty())
        print("message: %s\n", qPrintable(boxes.texts().join(QLatin1Char('\n'))));
    return fromFile && fromServer && boxes.shown.isEmpty();
}

// A lesson's items as the course window draws them when a lesson starts: the shipped words
// and letter weights read, the draw made over the keys in play, its 20 items; at the home
// row, at 16 keys and at the whole French AZERTY course.
bool course()
{
    XkbKeyboards keyboards;
    const std::optional<Keyboard> keyboard = keyboards.keyboard(QStringLiteral("fr"));
    const QList<CourseKey> order = keyboard ? CourseKeys::order(*keyboard, LetterWeights::load()) : QList<CourseKey>();
    if (order.size() < 30)
        return false;
    SystemRandom source;
    source.seedFromClock();
    // The window reads the files once, when it opens; each lesson makes its draw.
    QElapsedTimer read;
    read.start();
    const QStringList shipped = CourseWords::load();
    const LetterWeights weights = LetterWeights::load();
    print("the course's %lld words and the letter weights read in %.1f ms\n", qlonglong(shipped.size()), msSince(read));
    bool ok = true;
    for (const int keys : {8, 16, int(order.size())}) {
        QList<QChar> inPlay;
        for (int i = 0; i < keys; ++i)
            inPlay << order[i].character;
        QList<double> times;
        qsizetype words = 0;
        for (int run = 0; run < 20; ++run) {
            QElapsedTimer t;
            t.start();
            LessonDraw draw(inPlay, inPlay.last(), shipped, weights);
            for (int i = 0; i < 20; ++i)
                ok = ok && !draw.next(source).isEmpty();
            times << msSince(t);
            words = draw.anyWords().size();
        }
        LessonDraw draw(inPlay, inPlay.last(), shipped, weights);
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 10000; ++i)
            draw.next(source);
        const double many = msSince(t);
        print("a lesson's draw with %d keys (%lld words of them): %s; 10,000 items in %.1f ms\n", keys,
              qlonglong(words), qPrintable(spread(times)), many);
        ok = ok && times[times.size() / 2] <= 20;
    }
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString which = args.value(1);
    const auto number = [&args](int i, int fallback) { return args.size() > i ? args[i].toInt() : fallback; };
    if (which == QLatin1String("course"))
        return course() ? 0 : 1;
    if (which == QLatin1String("players"))
        return players(number(2, 100000)) ? 0 : 1;
    if (which == QLatin1String("server"))
        return server(number(2, 100000), number(3, 30)) ? 0 : 1;
    if (which == QLatin1String("class")) {
        QTemporaryDir folder;
        return folder.isValid() && QDir::setCurrent(folder.path()) && classOverview(number(2, 100000), number(3, 30)) ? 0 : 1;
    }
    // The history file goes in a scratch folder of the one given, or of the temporary folder.
    QTemporaryDir folder(args.size() > 3 ? args[3] + QStringLiteral("/bench-XXXXXX") : QString());
    if (!folder.isValid() || !QDir::setCurrent(folder.path()))
        return 1;
    if (which == QLatin1String("history"))
        return history(number(2, 10000)) ? 0 : 1;
    if (which == QLatin1String("practice"))
        return practice(number(2, 10000)) ? 0 : 1;
    print("usage: bench players|history|practice|server|class|course [count] [folder or pupils]\n");
    return 2;
}
