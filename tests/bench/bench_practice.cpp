// Prints how long a targeted practice game takes to choose its 20 items when the player has
// 10,000 six-letter games in the history and the word list holds 4,000 words: reading the
// latest games' figures, the words, the plan, then the 20 draws, as the session does at the
// start of a practice game. Fails when the median of 20 choices is over 50 ms, or when the
// draw did not work on the player's weak characters.
//   bench_practice [games] [folder]   (10000 games in a temporary folder by default)
#include "game/PracticeDraw.h"
#include "game/WordList.h"
#include "history/SqliteHistory.h"
#include "platform/SystemRandom.h"
#include "platform/Windows1252.h"
#include "support/BenchPrint.h"
#include "support/BenchScratch.h"
#include "support/GameSamples.h"
#include "support/TestDoubles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <random>

namespace {

constexpr int kWords = 4000;
constexpr double kLimitMs = 50;

// The shipped list, then made-up words of its letters up to kWords, as 6-byte records.
bool writeWordList(const QString &path, std::mt19937 &random)
{
    WordList shipped;
    QStringList words;
    if (shipped.open(QDir(QStringLiteral(CLAVIMO_BUILD_DATA_DIR)).filePath(WordList::fileName())))
        words = shipped.words();
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzéèàçêô");
    while (words.size() < kWords) {
        QString word;
        for (int i = 0; i < WordList::kWordLength; ++i)
            word += letters.at(qsizetype(random() % letters.size()));
        words << word;
    }
    QByteArray bytes;
    for (const QString &word : words.mid(0, kWords))
        bytes += Windows1252::encode(word.toLower());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchScratch scratch(app.arguments());
    if (!scratch.isValid())
        return 1;
    const int games = scratch.games;
    ScriptedBoxes boxes;
    ScriptedWallClock clock;
    const QString player = QStringLiteral("Paul");
    const QDateTime first(QDate(2025, 1, 1), QTime(8, 0), Qt::UTC);
    std::mt19937 random(2026);

    if (!writeWordList(WordList::fileName(), random))
        return 1;
    WordList list;
    if (!list.open(WordList::fileName()) || list.usableCount() != kWords)
        return 1;
    const QStringList words = list.words();
    {
        SqliteHistory history(boxes, clock);
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < games; ++i) {
            FinishedGame game = sampleGame(random, player, 6, first.addSecs(qint64(i) * 3000), 900, 0);
            // Words of the list, drawn evenly; the player misses K and W a third of the time
            // and every other character one time in fifty.
            for (PlayedItem &item : game.items) {
                item.shown = words[qsizetype(random() % std::uint32_t(words.size()))];
                for (QChar c : item.shown) {
                    if (random() % ((c == u'K' || c == u'W') ? 3 : 50) == 0)
                        item.mistakes << Mistake{c, u'L'};
                }
            }
            history.record(game);
        }
        print("filled %d six-letter games in %.1f s\n", games, msSince(t) / 1000);
    }

    SqliteHistory history(boxes, clock);
    SystemRandom source;
    source.seedFromClock();
    QList<double> times;
    qsizetype weak = 0, items = 0;
    QList<QChar> practised;
    for (int run = 0; run < 20; ++run) {
        QElapsedTimer t;
        t.start();
        PracticeDraw draw = PracticeDraw::forPlayer(&history, player, 6, list);
        QStringList chosen;
        for (int i = 0; i < 20; ++i)
            chosen << draw.next(source);
        times << msSince(t);
        practised = draw.plan().practised();
        for (const QString &item : chosen) {
            ++items;
            weak += item.contains(u'K') || item.contains(u'W') ? 1 : 0;
        }
    }
    std::sort(times.begin(), times.end());
    QString shown;
    for (QChar c : practised)
        shown += c;
    print("choosing the 20 items of a practice game (%d games, %d words): median %.2f ms, slowest %.2f ms (20 runs)\n",
          games, kWords, times[times.size() / 2], times.last());
    print("practised: %s; %.1f %% of the items hold K or W\n", qPrintable(shown), 100.0 * double(weak) / double(items));
    const bool fast = times[times.size() / 2] <= kLimitMs;
    if (!fast)
        print("over the limit of %.0f ms\n", kLimitMs);
    return fast && boxes.shown.isEmpty() && practised.contains(u'K') ? 0 : 1;
}
