// The benchmarks, one program: `bench MODE [count] [folder or pupils]`, MODE one of players,
// history, practice, server, class and course (each function below says what it measures
// and its limit), prints each step's figures as it goes and fails on a wrong result, and on
// time only where a limit is given. Run with ctest --preset benchmark, or by hand.
#include "adapters/XkbKeyboards.h"
#include "game/course/CourseKeys.h"
#include "game/course/CourseWords.h"
#include "game/course/LessonDraw.h"
#include "game/keyboard/KeyboardLayouts.h"
#include "game/practice/PracticeDraw.h"
#include "game/progress/ProgressData.h"
#include "game/session/GameSession.h"
#include "game/session/PlayerNames.h"
#include "game/words/WordList.h"
#include "history/PostgresStore.h"
#include "history/ServerHistory.h"
#include "history/ServerPreparation.h"
#include "history/SqliteHistory.h"
#include "platform/SystemRandom.h"
#include "platform/Windows1252.h"
#include "support/EntryBytes.h"
#include "support/GameSamples.h"
#include "support/TestDoubles.h"
#include "support/TestPostgres.h"
#include "ui/ClassWindow.h"
#include "ui/PlayerListDialog.h"
#include "ui/ProgressionWindow.h"
#include "ui/RecordsWindow.h"

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
#include <functional>
#include <numeric>
#include <optional>
#include <random>

#include <sys/resource.h>

namespace {

const QDateTime kFirstGame(QDate(2025, 1, 1), QTime(8, 0), Qt::UTC);

double timed(const std::function<void()> &step)
{
    QElapsedTimer t;
    t.start();
    step();
    return double(t.nsecsElapsed()) / 1e6;
}

// One figure a line, printed at once so that a slow step shows while it runs; several times
// of one step as their median and slowest. Returns the median.
double figure(const QString &what, QList<double> ms, const QString &more = QString())
{
    std::sort(ms.begin(), ms.end());
    const QString time = ms.size() == 1 ? QStringLiteral("%1 ms").arg(ms[0], 0, 'f', 1)
                                        : QStringLiteral("median %1 ms, slowest %2 ms (%3 runs)")
                                              .arg(ms[ms.size() / 2], 0, 'f', 2).arg(ms.last(), 0, 'f', 2).arg(ms.size());
    std::printf("%s: %s%s\n", qPrintable(what), qPrintable(time), qPrintable(more.isEmpty() ? more : "; " + more));
    std::fflush(stdout);
    return ms[ms.size() / 2];
}

// A window as the player opens it: built, shown and painted (chart, keyboard, table), three
// times; the slowest, or infinity when `ok` finds the window wrong.
double opening(const QString &what, const std::function<QWidget *()> &make, const std::function<bool(QWidget *)> &ok = {})
{
    QList<double> ms;
    bool right = true;
    for (int i = 0; i < 3; ++i) {
        std::unique_ptr<QWidget> window;
        ms << timed([&] {
            window.reset(make());
            window->show();
            right = QTest::qWaitForWindowExposed(window.get()) && right;
            window->grab();
        });
        right = right && (!ok || ok(window.get()));
    }
    figure("opening " + what, ms);
    return right ? *std::max_element(ms.begin(), ms.end()) : qInf();
}

// A class's games made by the history file or the server itself, in one transaction: each
// pupil's over the year, 20 letters an item, a wrong key now and then with its characters
// due, every tenth game a practice one.
QStringList classGames(int games, int pupils, bool server)
{
    const auto series = [server](int to) {
        return server ? QStringLiteral("generate_series(1, %1) AS n(n)").arg(to)
                      : QStringLiteral("(WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %1) SELECT n FROM s) AS n").arg(to);
    };
    const auto at = [server](int seconds) {
        return server ? QStringLiteral("to_char(timestamp '2026-01-01' + (n * 300 + %1) * interval '1 second', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"')").arg(seconds)
                      : QStringLiteral("strftime('%Y-%m-%dT%H:%M:%S.000Z', '2026-01-01', '+' || (n * 300 + %1) || ' seconds')").arg(seconds);
    };
    return {QStringLiteral("BEGIN"),
            QStringLiteral("INSERT INTO games(uid, player, mode, started_at, finished_at, mini, average, wrong_keys, practice)"
                           " SELECT 'g' || n, 'Élève ' || (n % %1 + 1), CASE WHEN (n / %1) % 3 = 0 THEN 6 ELSE 1 END, %2, %3,"
                           " 300 + n % 200, 500 + n % 300, n % 4, CASE WHEN n % 10 = 0 THEN 1 ELSE 0 END FROM %4")
                .arg(pupils).arg(at(0), at(30), series(games)),
            QStringLiteral("INSERT INTO items(game_id, position, shown, time_ms, raw_ms, wrong_keys) SELECT id, n,"
                           " %1(CAST(65 + (id * 7 + n * 13) % 26 AS INTEGER)), 400 + (id + n) % 500, 400 + (id + n) % 500, 0 FROM games, %2")
                .arg(server ? "chr" : "char", series(20)),
            QStringLiteral("INSERT INTO mistakes(game_id, position, expected, typed) SELECT i.game_id, i.position, i.shown, 'X'"
                           " FROM items AS i JOIN games AS g ON g.id = i.game_id WHERE i.position <= g.wrong_keys"),
            QStringLiteral("INSERT INTO expected_chars(game_id, character, count) SELECT game_id, shown, count(*) FROM items GROUP BY game_id, shown"),
            QStringLiteral("COMMIT"), QStringLiteral("ANALYZE")};
}

// The modes, over one set of test doubles: each returns whether every result was right.
struct Bench
{
    int count = 0, pupils = 0;
    ScriptedBoxes boxes;
    ScriptedWallClock clock;
    std::mt19937 random{2026};

    bool progressionOpens(HistoryReader &history, const QString &player)
    {
        XkbKeyboards keyboards;
        GivenKeyboardNames serverKeyboard;
        RememberedLayout memory;
        KeyboardLayouts layouts(keyboards, serverKeyboard, memory);
        return opening("the progression window", [&] { return new ProgressionWindow(history, boxes, layouts, clock, player, 1); }) < 1e9;
    }

    // « La classe » as F7 opens it, its figures read and the window opened three times; the
    // slowest opening at most half a second.
    bool classOpens(HistoryReader &history, const QString &from)
    {
        qsizetype players = 0;
        const double ms = timed([&] { players = history.classFigures(1, clock.nowUtc().addDays(-7), 10, 30).size(); });
        figure("reading the figures from the " + from, {ms}, QStringLiteral("%1 players").arg(players));
        const double slowest = opening(
            "« La classe » from the " + from, [&] { return new ClassWindow(history, boxes, clock, 1, ClassWindow::ProgressionOpener()); },
            [&](QWidget *window) { return window->findChild<QTableView *>()->model()->rowCount() == pupils; });
        return slowest <= 500 && players == pupils;
    }

    // Games written one by one through the game's own history, one every 50 minutes from
    // the first: the time of each write.
    QList<double> record(GameHistory &history, int from, int to, const std::function<FinishedGame(const QDateTime &)> &make)
    {
        QList<double> ms;
        for (int i = from; i < to; ++i) {
            const FinishedGame game = make(kFirstGame.addSecs(qint64(i) * 3000));
            ms << timed([&] { history.record(game); });
        }
        return ms;
    }

    // The steps that read the whole record file of a class of `count` players with names of
    // varied length, some with accents: the player list, a newcomer, the records list.
    bool players()
    {
        static const char *const first[] = {"Anne", "L\xE9o", "Chlo\xE9", "Hugo", "Zo\xE9", "Nathan", "In\xE8s", "Paul"};
        QByteArray bytes = kPlaceholders;
        for (int i = 0; i < count; ++i)
            bytes += entryBytes(first[random() % 8] + QByteArray::number(i), qint16(150 + random() % 900), qint16(300 + random() % 900));
        ScratchFolder folder;
        folder.write(PlayerFile::fileNameFor(1), bytes);
        TestServices ts;
        GameSession session(ts.services());
        session.prepare();
        if (!session.openFiles() || !session.activate(false))
            return false;
        qsizetype known = 0;
        figure(QStringLiteral("%1 players: reading and sorting the names").arg(count),
               {timed([&] { known = PlayerNames::known(session.playerFile(), PlayerNames::Order()).size(); })});
        const PlayerFile &file = session.playerFile();
        const double listed = opening("the player list dialog", [&] { return new PlayerListDialog(file, {}, ts.boxes); },
                                      [&](QWidget *list) { return list->findChild<QComboBox *>()->count() == count; });
        figure("new player greeted", {timed([&] {
                   session.setPlayers({QStringLiteral("Newcomer")}); // found nowhere, appended, greeted
                   session.activate(false);
                   session.afterPlayersChosen();
               })});
        const double lines = opening("the records list", [&] { return new RecordsWindow(file, 1); }, [&](QWidget *records) {
            return records->findChild<QTableView *>()->model()->rowCount() == count + 1;
        });
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("peak memory: %.1f MB\n", double(usage.ru_maxrss) / 1024.0);
        return known == count && listed < qInf() && lines < qInf()
            && ts.boxes.texts() == QStringList{QStringLiteral("Bienvenue au Club CLAVIMO !")};
    }

    // One player's games through the game's own history, then 30 more (each synchronised to
    // the disk), their data read and the progression window opened.
    bool history()
    {
        SqliteHistory history(boxes, clock);
        const auto paul = [&](const QDateTime &at) { return sampleGame(random, QStringLiteral("Paul"), 1, at, 600, 0.2); };
        const QList<double> fill = record(history, 0, count, paul);
        std::printf("filled %d games in %.1f s; file %.1f MB\n", count, std::accumulate(fill.begin(), fill.end(), 0.0) / 1000,
                    double(QFileInfo(SqliteHistory::fileName()).size()) / 1e6);
        figure("writing a finished game", record(history, count, count + 30, paul));
        ProgressData data;
        const double ms = timed([&] { data = loadProgress(history, QStringLiteral("Paul"), 1); });
        figure("reading the window's data", {ms}, QStringLiteral("%1 games").arg(data.games.size()));
        return data.games.size() == count + 30 && progressionOpens(history, QStringLiteral("Paul")) && boxes.shown.isEmpty();
    }

    // A practice game's 20 items chosen over six-letter games of a 4,000-word list of
    // made-up words, where the player misses K and W a third of the time and every other
    // character one time in fifty.
    bool practice()
    {
        constexpr int kWords = 4000;
        const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzéèàçêô");
        QString text;
        for (qsizetype i = 0; i < kWords * WordList::kWordLength; ++i)
            text += letters.at(qsizetype(random() % letters.size()));
        QFile out(WordList::fileName());
        if (!out.open(QIODevice::WriteOnly) || out.write(Windows1252::encode(text)) < 0)
            return false;
        out.close();
        WordList list;
        if (!list.open(WordList::fileName()) || list.usableCount() != kWords)
            return false;
        const QStringList words = list.words();
        SqliteHistory history(boxes, clock);
        record(history, 0, count, [&](const QDateTime &at) {
            FinishedGame game = sampleGame(random, QStringLiteral("Paul"), 6, at, 900, 0);
            for (PlayedItem &item : game.items) {
                item.shown = words[qsizetype(random() % std::uint32_t(words.size()))];
                for (QChar c : item.shown)
                    if (random() % ((c == u'K' || c == u'W') ? 3 : 50) == 0)
                        item.mistakes << Mistake{c, u'L'};
            }
            return game;
        });
        SystemRandom source;
        source.seedFromClock();
        QList<double> ms;
        qsizetype weak = 0;
        bool practisesK = true;
        for (int run = 0; run < 20; ++run) {
            QStringList chosen;
            ms << timed([&] {
                PracticeDraw draw = PracticeDraw::forPlayer(&history, QStringLiteral("Paul"), 6, list);
                practisesK = practisesK && draw.plan().practised().contains(u'K');
                for (int i = 0; i < 20; ++i)
                    chosen << draw.next(source);
            });
            for (const QString &item : chosen)
                weak += item.contains(u'K') || item.contains(u'W') ? 1 : 0;
        }
        const double median = figure(QStringLiteral("choosing the 20 items of a practice game (%1 games, %2 words)").arg(count).arg(kWords),
                                     ms, QStringLiteral("%1 % hold K or W").arg(double(weak) / 4.0));
        return median <= 50 && boxes.shown.isEmpty() && practisesK;
    }

    // The classroom's history on the test suite's server over the loopback: one more game
    // sent as at the end of each game, and one pupil's progression window read from the
    // server in a few statements, whatever the number of games.
    bool server()
    {
        Room room(*this, QStringLiteral("bench_room"));
        if (!room.address)
            return false;
        {
            PostgresStore store(*room.address);
            QList<double> ms;
            bool sent = store.open() == PostgresStore::Status::Ready;
            for (int i = 0; i < 30 && sent; ++i) {
                const FinishedGame game = sampleGame(random, QStringLiteral("Élève 1"), 1, clock.nowUtc(), 600, 0.1);
                ms << timed([&] { sent = store.send(QUuid::createUuid().toString(QUuid::WithoutBraces), game); });
            }
            if (!sent)
                return false;
            figure("sending a finished game to the server", ms);
        }
        const int before = room.statements();
        bool shown = false;
        {
            ServerHistory history(room.file, *room.address, boxes);
            ProgressData data;
            const double ms = timed([&] { data = loadProgress(history, QStringLiteral("Élève 7"), 1); });
            figure("reading one pupil's data from the server", {ms}, QStringLiteral("%1 games").arg(data.games.size()));
            shown = data.games.size() >= count / pupils / 2 && progressionOpens(history, QStringLiteral("Élève 7"));
        }
        const int read = room.statements() - before;
        std::printf("statements run on the server for the four readings: %d\n%s\n", read, qPrintable(boxes.texts().join(u'\n')));
        return shown && boxes.shown.isEmpty() && read > 0 && read <= 100;
    }

    // The class overview over 30 pupils' games, from the history file, then from the test
    // suite's server over the loopback.
    bool classOverview()
    {
        SqliteHistory file(boxes, clock);
        bool filled = file.players().isEmpty(); // opened, its tables made
        const double ms = timed([&] {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-fill"));
            db.setDatabaseName(file.path());
            filled = filled && db.open();
            QSqlQuery q(db);
            for (const QString &sql : classGames(count, pupils, false))
                filled = filled && (q.exec(sql) || !std::printf("%s\n", qPrintable(q.lastError().text())));
        });
        QSqlDatabase::removeDatabase(QStringLiteral("bench-fill"));
        figure(QStringLiteral("filling %1 games of %2 pupils in the file").arg(count).arg(pupils), {ms},
               QStringLiteral("%1 MB").arg(double(QFileInfo(file.path()).size()) / 1e6, 0, 'f', 1));
        const bool fromFile = filled && classOpens(file, QStringLiteral("file"));
        Room room(*this, QStringLiteral("bench_class"));
        if (!room.address)
            return false;
        ServerHistory history(room.file, *room.address, boxes);
        const bool fromServer = classOpens(history, QStringLiteral("server"));
        std::printf("%s\n", qPrintable(boxes.texts().join(u'\n')));
        return fromFile && fromServer && boxes.shown.isEmpty();
    }

    // A fresh room on the test suite's server, prepared by its owner, filled with the class's
    // games, then used by the computers' role (`address`, or nothing: said why), beside a
    // history file of its own; the statements run in it, counted by the server once every
    // connection to it has ended and handed over its figures.
    struct Room
    {
        Room(Bench &bench, const QString &name) : database(name), file(bench.boxes, bench.clock, scratch.filePath(SqliteHistory::fileName()))
        {
            QString error;
            if (server.available() && server.createDatabase(database, &error, server.ownerUser())) {
                qputenv("PGPASSWORD", server.ownerPassword().toUtf8());
                const RoomCommandResult prepared = prepareServer(*ServerAddress::parse(server.uri(database, server.ownerUser()), &error), server.user());
                qputenv("PGPASSWORD", server.password().toUtf8());
                error = prepared.error;
                const double ms = timed([&] {
                    if (prepared.exitCode == 0 && server.execute(classGames(bench.count, bench.pupils, true).join(u';'), database, &error))
                        address = ServerAddress::parse(server.uri(database), &error);
                });
                if (address)
                    figure(QStringLiteral("filling %1 games of %2 pupils on the server").arg(bench.count).arg(bench.pupils), {ms});
            }
            if (!address)
                std::printf("no room on the PostgreSQL server: %s\n", qPrintable(server.available() ? error : server.skipReason()));
        }
        int statements() const
        {
            const QString where = QStringLiteral(" WHERE datname = '%1'").arg(database);
            for (int i = 0; i < 100 && server.query("SELECT count(*) FROM pg_stat_activity" + where) != QLatin1String("0"); ++i)
                QThread::msleep(50);
            return server.query("SELECT xact_commit + xact_rollback FROM pg_stat_database" + where).toInt();
        }
        TestPostgres server;
        QString database;
        QTemporaryDir scratch;
        SqliteHistory file;
        std::optional<ServerAddress> address;
    };
};

// A lesson's items as the course window draws them when a lesson starts: the shipped words
// and letter weights read, the draw made over the keys in play, its 20 items; at the home
// row, at 16 keys and at the whole French AZERTY course.
bool course()
{
    XkbKeyboards keyboards;
    const std::optional<Keyboard> keyboard = keyboards.keyboard(QStringLiteral("fr"));
    // The window reads the files once, when it opens; each lesson makes its draw.
    QStringList shipped;
    LetterWeights weights;
    const double read = timed([&] { shipped = CourseWords::load(); weights = LetterWeights::load(); });
    figure("the course's words and the letter weights read", {read}, QStringLiteral("%1 words").arg(shipped.size()));
    const QList<CourseKey> order = keyboard ? CourseKeys::order(*keyboard, weights) : QList<CourseKey>();
    if (order.size() < 30)
        return false;
    SystemRandom source;
    source.seedFromClock();
    bool ok = true;
    for (const int keys : {8, 16, int(order.size())}) {
        QList<QChar> inPlay;
        for (int i = 0; i < keys; ++i)
            inPlay << order[i].character;
        QList<double> times;
        for (int run = 0; run < 20; ++run) {
            times << timed([&] {
                LessonDraw draw(inPlay, inPlay.last(), shipped, weights);
                for (int i = 0; i < 20; ++i)
                    ok = ok && !draw.next(source).isEmpty();
            });
        }
        LessonDraw draw(inPlay, inPlay.last(), shipped, weights);
        const double many = timed([&] { for (int i = 0; i < 10000; ++i) draw.next(source); });
        ok = figure(QStringLiteral("a lesson's draw and its 20 items with %1 keys").arg(keys), times,
                    QStringLiteral("%1 words of them; 10,000 items in %2 ms").arg(draw.anyWords().size()).arg(many, 0, 'f', 1)) <= 20 && ok;
    }
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    const bool ownGames = mode == "history" || mode == "practice"; // of one player, the 3rd argument a folder
    Bench bench;
    bench.count = args.size() > 2 ? args[2].toInt() : ownGames ? 10000 : 100000;
    bench.pupils = args.size() > 3 ? args[3].toInt() : 30;
    // The history file goes in a scratch folder of the one given (history, practice), or of
    // the temporary folder.
    QTemporaryDir folder(args.size() > 3 && ownGames ? args[3] + QStringLiteral("/bench-XXXXXX") : QString());
    if (!folder.isValid() || !QDir::setCurrent(folder.path()))
        return 1;
    const QMap<QString, std::function<bool()>> modes = {
        {"players", [&] { return bench.players(); }}, {"history", [&] { return bench.history(); }},
        {"practice", [&] { return bench.practice(); }}, {"server", [&] { return bench.server(); }},
        {"class", [&] { return bench.classOverview(); }}, {"course", course}};
    return modes.contains(mode) ? !modes[mode]() : 2;
}
