// A second program for the history tests and the screenshots: writes made-up games through
// the same history classes as the game, then says so on its standard output.
//   history_writer once <file>                     one game, prints "written", then waits
//   history_writer append <file> <player> <count>  count games in a row, then prints "done"
//   history_writer sample <file> <player> <count>  count games over the weeks before today,
//                                                  getting faster, in both modes
//   history_writer server <file> <uri> <player> <count> <pause ms>   count games through a
//       classroom's server, a pause between two, then waits until none is left to send (two
//       minutes at most) and prints "done" and the number still waiting
#include "history/LocalOutbox.h"
#include "history/ServerHistory.h"
#include "history/SqliteHistory.h"
#include "platform/Services.h"
#include "platform/SystemWallClock.h"
#include "support/GameSamples.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
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

// Keeps games through a classroom's server as the game does, then waits for the outbox
// to empty, asking again now and then as the game would at its next game.
int throughServer(SqliteHistory &history, MessageBoxes &boxes, WallClock &clock, std::mt19937 &random,
                  const QStringList &args)
{
    QString why;
    const auto address = ServerAddress::parse(args[3], &why);
    if (!address) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 2;
    }
    const int count = args[5].toInt();
    const int pauseMs = args[6].toInt();
    ServerHistory server(history, *address, boxes);
    for (int i = 0; i < count; ++i) {
        server.record(sampleGame(random, args[4], 1 + 5 * (i % 2), clock.nowUtc()));
        QEventLoop pause;
        QTimer::singleShot(pauseMs, &pause, &QEventLoop::quit);
        pause.exec();
    }
    LocalOutbox outbox(history.path());
    const QDeadlineTimer deadline(120000);
    while (!outbox.waiting().isEmpty() && !deadline.hasExpired()) {
        QEventLoop wait;
        QObject::connect(&server, &ServerHistory::drained, &wait, &QEventLoop::quit);
        QTimer::singleShot(1000, &wait, &QEventLoop::quit);
        server.flush();
        wait.exec();
    }
    std::printf("done %lld\n", qint64(outbox.waiting().size()));
    return server.stop(1000) ? 0 : 3;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString command = args.value(1);
    PrintedBoxes boxes;
    SystemWallClock clock;
    SqliteHistory history(boxes, clock, args[2]);
    std::mt19937 random(std::random_device{}());
    if (command == QLatin1String("server") && args.size() == 7)
        return throughServer(history, boxes, clock, random, args);
    const int count = args.value(4).toInt();
    if (args.size() != (command == QLatin1String("once") ? 3 : 5))
        return 2;
    if (command == QLatin1String("once")) {
        history.record(sampleGame(random, QStringLiteral("Tué net"), 1, clock.nowUtc()));
        std::printf("written\n");
        std::fflush(stdout);
        for (;;)
            QThread::sleep(60);
    } else if (command == QLatin1String("append")) {
        for (int i = 0; i < count; ++i)
            history.record(sampleGame(random, args[3], 1, clock.nowUtc()));
    } else if (command == QLatin1String("sample")) {
        random.seed(20261206);
        const QDateTime now = clock.nowUtc();
        for (int i = count; i > 0; --i) {
            // A game or two a day, the pace going from 900 ms down towards 450 ms.
            const int pace = 450 + 450 * i / count;
            history.record(sampleGame(random, args[3], (count - i) % 4 == 3 ? 6 : 1, now.addSecs(-qint64(i) * 16 * 3600), pace,
                                      0.03 + 0.04 * i / count));
        }
    } else {
        return 2;
    }
    std::printf("done\n");
    return 0;
}
