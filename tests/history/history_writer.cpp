// A second program for the history tests and the screenshots: writes made-up games through
// the same history classes as the game.
//   history_writer append FILE PLAYER COUNT   COUNT games, "written" printed after each
//   history_writer sample FILE PLAYER COUNT   COUNT games over the weeks before today,
//                                             getting faster, in both modes
//   history_writer server FILE PLAYER COUNT URI PAUSE   COUNT games through a classroom's
//       server, PAUSE ms apart, then waits (two minutes at most) until none is left to
//       send and prints "done" and the number still waiting
#include "history/LocalOutbox.h"
#include "history/ServerHistory.h"
#include "history/SqliteHistory.h"
#include "platform/Services.h"
#include "platform/SystemWallClock.h"
#include "support/GameSamples.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>

namespace {

// Problems go to the error output, where the test shows them when it fails.
struct PrintedBoxes : MessageBoxes
{
    BoxAnswer show(const QString &text, const QString &, BoxButtons, BoxIcon) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return BoxAnswer::Ok;
    }
};

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != (args.value(1) == "server" ? 7 : 5))
        return 2;
    PrintedBoxes boxes;
    SystemWallClock clock;
    SqliteHistory history(boxes, clock, args[2]);
    std::mt19937 random(std::random_device{}());
    const int count = args[4].toInt();
    if (args[1] == "append") {
        for (int i = 0; i < count; ++i) {
            history.record(sampleGame(random, args[3], 1, clock.nowUtc()));
            std::printf("written\n");
            std::fflush(stdout);
        }
    } else if (args[1] == "sample") {
        random.seed(20261206);
        for (int i = count; i > 0; --i) // a game or two a day, from 900 ms an item down towards 450 ms
            history.record(sampleGame(random, args[3], (count - i) % 4 == 3 ? 6 : 1,
                                      clock.nowUtc().addSecs(-qint64(i) * 16 * 3600), 450 + 450 * i / count, 0.03 + 0.04 * i / count));
    } else if (args[1] == "server") {
        QString why;
        ServerHistory server(history, ServerAddress::parse(args[5], &why).value(), boxes);
        for (int i = 0; i < count; ++i) {
            server.record(sampleGame(random, args[3], 1 + 5 * (i % 2), clock.nowUtc()));
            pause(args[6].toInt());
        }
        // Asks again now and then, as the game does at its next game.
        LocalOutbox outbox(history.path());
        for (const QDeadlineTimer deadline(120000); !outbox.waiting().isEmpty() && !deadline.hasExpired(); pause(1000))
            server.flush();
        std::printf("done %lld\n", qint64(outbox.waiting().size()));
        return server.stop(1000) ? 0 : 3;
    } else {
        return 2;
    }
    return 0;
}
