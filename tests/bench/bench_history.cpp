// Prints how the history behaves when it is large: 10,000 finished games (200,000 items,
// about 50,000 wrong keys) for one player in one mode, the worst case for the progression
// window. It writes them through the game's own history class, then times writing one
// more game (each one synchronised to the disk) and opening the window, and prints the
// query plans. Times depend on the machine: nothing here is asserted about them; the
// program fails only when the file does not hold what was written.
//   bench_history [games] [folder]   (10000 games in a temporary folder by default)
#include "game/ProgressData.h"
#include "history/SqliteHistory.h"
#include "support/BenchPrint.h"
#include "support/BenchScratch.h"
#include "support/GameSamples.h"
#include "support/TestDoubles.h"
#include "ProgressionOpening.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const BenchScratch scratch(app.arguments());
    if (!scratch.isValid())
        return 1;
    const int games = scratch.games;
    ScriptedBoxes boxes;
    ScriptedWallClock clock;
    const QString player = QStringLiteral("Paul");
    const QDateTime first(QDate(2025, 1, 1), QTime(8, 0), Qt::UTC);
    std::mt19937 random(2026);

    {
        // Filling goes through the same class as the game, one transaction per game.
        SqliteHistory history(boxes, clock);
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < games; ++i)
            history.record(sampleGame(random, player, 1, first.addSecs(qint64(i) * 3000), 600, 0.2));
        print("filled %d games in %.1f s (%.2f ms a game)\n", games, msSince(t) / 1000, msSince(t) / games);
    }
    print("file: %.1f MB\n", double(QFileInfo(SqliteHistory::fileName()).size()) / 1e6);

    SqliteHistory history(boxes, clock); // a failure shows in the figures and the messages

    // Writing one more game, as at the end of each game: 30 times, each timed alone.
    QList<double> writes;
    for (int i = 0; i < 30; ++i) {
        const FinishedGame game = sampleGame(random, player, 1, first.addSecs(qint64(games + i) * 3000), 600, 0.2);
        QElapsedTimer t;
        t.start();
        history.record(game);
        writes << msSince(t);
    }
    std::sort(writes.begin(), writes.end());
    print("writing a finished game: median %.2f ms, slowest %.2f ms (30 writes)\n", writes[writes.size() / 2],
          writes.last());

    QElapsedTimer t;
    t.start();
    const ProgressData data = loadProgress(history, player, 1);
    print("reading the window's data: %.1f ms (%lld games, %lld characters)\n", msSince(t),
          qint64(data.games.size()), qint64(data.characters.size()));
    qint64 wrong = 0;
    for (const CharacterCount &c : data.characters)
        wrong += c.wrong;
    print("wrong keys in the file: %lld\n", wrong);
    if (data.games.size() != games + 30)
        return 1;

    if (!timeProgressionOpening(history, boxes, player, 1, ""))
        return 1;

    print("query plans:\n");
    for (const QString &sql : SqliteHistory::readingQueries()) {
        print("  %s\n", qPrintable(sql));
        for (const QString &step : history.queryPlan(sql))
            print("    %s\n", qPrintable(step));
    }
    return boxes.shown.isEmpty() ? 0 : 1;
}
