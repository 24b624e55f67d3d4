// Prints how a classroom's history behaves on the test suite's PostgreSQL server over the
// loopback: 100,000 finished games of 30 pupils, then the time to send one more finished
// game (the write of each game at its end) and to open the progression window of one pupil
// read from the server. Times depend on the machine: nothing here is asserted about them;
// the program fails only when the server is missing or does not hold what was written.
//   bench_server_history [games] [pupils]   (100000 games of 30 pupils by default)
#include "game/ProgressData.h"
#include "history/PostgresStore.h"
#include "history/ServerPreparation.h"
#include "history/ServerHistory.h"
#include "history/SqliteHistory.h"
#include "support/BenchPrint.h"
#include "support/GameSamples.h"
#include "support/TestDoubles.h"
#include "support/TestPostgres.h"
#include "ProgressionOpening.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <algorithm>
#include <cstdio>

namespace {

// The games made on the server itself, in a few statements: each pupil's games over the
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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int games = args.size() > 1 ? args[1].toInt() : 100000;
    const int pupils = args.size() > 2 ? args[2].toInt() : 30;
    TestPostgres server;
    if (!server.available()) {
        print("no PostgreSQL server: %s\n", qPrintable(server.skipReason()));
        return 1;
    }
    const QString database = QStringLiteral("bench_room");
    QString error;
    if (!server.createDatabase(database, &error, server.ownerUser())) {
        print("%s\n", qPrintable(error));
        return 1;
    }
    QString why;
    // The room prepared by its owner, then used by the computers' role.
    qputenv("PGPASSWORD", server.ownerPassword().toUtf8());
    const RoomCommandResult prepared =
        prepareServer(*ServerAddress::parse(server.uri(database, server.ownerUser()), &why), server.user());
    if (prepared.exitCode != 0) {
        print("%s\n", qPrintable(prepared.error));
        return 1;
    }
    qputenv("PGPASSWORD", server.password().toUtf8());
    const auto address = ServerAddress::parse(server.uri(database), &why);
    QTemporaryDir scratch;
    ScriptedBoxes boxes;
    ScriptedWallClock clock;
    std::mt19937 random(2026);
    {
        // The games made by the server, much faster than sending them one by one.
        PostgresStore store(*address);
        if (store.open() != PostgresStore::Status::Ready) {
            print("%s\n", qPrintable(store.problem()));
            return 1;
        }
        QElapsedTimer t;
        t.start();
        if (!server.execute(fillScript(games, pupils), database, &error)) {
            print("%s\n", qPrintable(error));
            return 1;
        }
        print("filled %d games of %d pupils on the server in %.1f s; database %s\n", games, pupils, msSince(t) / 1000,
              qPrintable(server.queryValue(QStringLiteral("SELECT pg_size_pretty(pg_database_size('bench_room'))"))));

        // Sending one finished game, as at the end of each game: 30 times, each timed alone.
        QList<double> writes;
        for (int i = 0; i < 30; ++i) {
            const FinishedGame game = sampleGame(random, QStringLiteral("Élève 1"), 1, clock.nowUtc(), 600, 0.1);
            const QString uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
            QElapsedTimer w;
            w.start();
            if (!store.send(uid, game)) {
                print("%s\n", qPrintable(store.problem()));
                return 1;
            }
            writes << msSince(w);
        }
        std::sort(writes.begin(), writes.end());
        print("sending a finished game to the server: median %.2f ms, slowest %.2f ms (30 games)\n",
              writes[writes.size() / 2], writes.last());
    }

    SqliteHistory file(boxes, clock, scratch.filePath(SqliteHistory::fileName()));
    ServerHistory history(file, *address, boxes);
    const QString pupil = QStringLiteral("Élève 7");
    QElapsedTimer t;
    t.start();
    const ProgressData data = loadProgress(history, pupil, 1);
    print("reading one pupil's data from the server: %.1f ms (%lld games, %lld characters)\n", msSince(t),
          qint64(data.games.size()), qint64(data.characters.size()));
    if (data.games.size() < games / pupils / 2)
        return 1;
    if (!timeProgressionOpening(history, boxes, pupil, 1, " from the server"))
        return 1;
    if (!boxes.shown.isEmpty())
        print("message: %s\n", qPrintable(boxes.texts().join(QLatin1Char('\n'))));
    return boxes.shown.isEmpty() ? 0 : 1;
}
