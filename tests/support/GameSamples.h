#pragma once

#include "game/session/FinishedGame.h"
#include "game/session/Statistics.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <random>

// Finished games made up for the history tests, the benchmark and the screenshots: letters
// or French words, times around `pace` ms, a wrong key now and then, Mini and average worked
// out as the game does. The same seed always gives the same game.
inline FinishedGame sampleGame(std::mt19937 &random, const QString &player, int mode, const QDateTime &finishedAt,
                               int pace = 600, double mistakeRate = 0.05)
{
    static const QStringList words = QStringLiteral("MAISON JARDIN BÊTISE ÉCLAIR ÉLÈVES CRÈMES LEÇONS PÊCHER CÔTELÉ MÛRIER "
                                                    "NAÏVES CLAVES POMMES PARFUM ÉPOQUE ZÉBRÉS").split(u' ');
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<int> letter(0, 25);
    std::normal_distribution<double> spread(0.0, pace / 5.0);

    FinishedGame game;
    game.player = player;
    game.mode = mode;
    game.finishedAt = finishedAt;
    qint64 total = 0, played = 0;
    game.mini = Statistics::kUnset;
    for (int i = 0; i < Statistics::kItemsPerGame; ++i) {
        PlayedItem item;
        item.shown = mode == 1 ? QString(QChar(u'A' + letter(random)))
                               : words[std::uniform_int_distribution<int>(0, int(words.size()) - 1)(random)];
        for (QChar due : item.shown)
            while (unit(random) < mistakeRate)
                item.mistakes.append({due, QChar(u'A' + letter(random))});
        item.rawMs = std::max<qint64>(80, qint64(pace * (mode == 6 ? 3 : 1) + spread(random)));
        item.timeMs = Statistics::itemTime(item.rawMs, item.mistakes.size());
        total += item.timeMs;
        played += item.rawMs + 700; // the space bar and a glance between items
        game.mini = std::min(game.mini, item.timeMs);
        game.items.append(item);
    }
    game.average = Statistics::average(total, Statistics::kItemsPerGame);
    game.startedAt = finishedAt.addMSecs(-played);
    return game;
}
