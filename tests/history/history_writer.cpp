// A second program for the history tests and the screenshots: writes made-up games through
// the same history class as the game.
//   history_writer append FILE PLAYER COUNT   COUNT games, "written" printed after each
//   history_writer sample FILE PLAYER COUNT   COUNT games over the weeks before today,
//                                             getting faster, in both modes
#include "history/SqliteHistory.h"
#include "platform/SystemWallClock.h"
#include "support/GameSamples.h"
#include "support/TestDoubles.h"

#include <QCoreApplication>
#include <QScopeGuard>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5 || (args[1] != "append" && args[1] != "sample"))
        return 2;
    ScriptedBoxes boxes; // what it says goes to the error output, where the test shows it
    const auto printed = qScopeGuard([&boxes] { std::fprintf(stderr, "%s", qPrintable(boxes.texts().join('\n'))); });
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
        return 0;
    }
    random.seed(20261206);
    for (int i = count; i > 0; --i) // a game or two a day, from 900 ms an item down towards 450 ms
        history.record(sampleGame(random, args[3], (count - i) % 4 == 3 ? 6 : 1,
                                  clock.nowUtc().addSecs(-qint64(i) * 16 * 3600), 450 + 450 * i / count, 0.03 + 0.04 * i / count));
    return 0;
}
