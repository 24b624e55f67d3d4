#include "support/GameSamples.h"

#include "game/session/Statistics.h"

#include <QStringList>

namespace {

const QStringList kWords = {
    QStringLiteral("MAISON"), QStringLiteral("JARDIN"), QStringLiteral("BÊTISE"), QStringLiteral("ÉCLAIR"),
    QStringLiteral("ÉLÈVES"), QStringLiteral("CRÈMES"), QStringLiteral("LEÇONS"), QStringLiteral("PÊCHER"),
    QStringLiteral("CÔTELÉ"), QStringLiteral("MÛRIER"), QStringLiteral("NAÏVES"), QStringLiteral("CLAVES"),
    QStringLiteral("POMMES"), QStringLiteral("PARFUM"), QStringLiteral("ÉPOQUE"), QStringLiteral("ZÉBRÉS"),
};

} // namespace

FinishedGame sampleGame(std::mt19937 &random, const QString &player, int mode, const QDateTime &finishedAt,
                        int pace, double mistakeRate)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<int> letter(0, 25);
    std::normal_distribution<double> spread(0.0, pace / 5.0);

    FinishedGame game;
    game.player = player;
    game.mode = mode;
    game.finishedAt = finishedAt;
    qint64 total = 0;
    game.mini = Statistics::kUnset;
    for (int i = 0; i < Statistics::kItemsPerGame; ++i) {
        PlayedItem item;
        if (mode == 1)
            item.shown = QString(QChar(u'A' + letter(random)));
        else
            item.shown = kWords[std::uniform_int_distribution<int>(0, int(kWords.size()) - 1)(random)];
        for (QChar due : item.shown) {
            while (unit(random) < mistakeRate)
                item.mistakes.append({due, QChar(u'A' + letter(random))});
        }
        item.rawMs = std::max<qint64>(80, qint64(pace * (mode == 6 ? 3 : 1) + spread(random)));
        item.timeMs = Statistics::itemTime(item.rawMs, item.mistakes.size());
        total += item.timeMs;
        game.mini = std::min(game.mini, item.timeMs);
        game.items.append(item);
    }
    game.average = Statistics::average(total, Statistics::kItemsPerGame);
    qint64 played = 0;
    for (const PlayedItem &item : game.items)
        played += item.rawMs + 700; // the space bar and a glance between items
    game.startedAt = finishedAt.addMSecs(-played);
    return game;
}
