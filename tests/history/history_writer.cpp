// A second program for the history tests and the screenshots: writes made-up games through
// the same history class as the game, then says so on its standard output.
//   history_writer once <file>                      one game, prints "written", then waits
//   history_writer append <file> <player> <count>   count games in a row, then prints "done"
//   history_writer sample <file> <player> <count>   count games over the weeks before today,
//                                                   getting faster, in both modes
#include "history/SqliteHistory.h"
#include "platform/MessageBoxes.h"
#include "platform/SystemWallClock.h"
#include "support/GameSamples.h"

#include <QCoreApplication>
#include <QThread>

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

void say(const char *text)
{
    std::printf("%s\n", text);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString command = args.value(1);
    const int count = args.value(4).toInt();
    if (args.size() != (command == QLatin1String("once") ? 3 : 5))
        return 2;
    PrintedBoxes boxes;
    SystemWallClock clock;
    SqliteHistory history(boxes, clock, args[2]);
    std::mt19937 random(std::random_device{}());
    if (command == QLatin1String("once")) {
        history.record(sampleGame(random, QStringLiteral("Tué net"), 1, clock.nowUtc()));
        say("written");
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
    say("done");
    return 0;
}
