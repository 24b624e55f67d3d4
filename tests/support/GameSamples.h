#pragma once

#include "game/session/FinishedGame.h"

#include <QDateTime>
#include <QString>

#include <random>

// Finished games made up for the history tests, the benchmark and the screenshots: items
// drawn like the game draws them (letters, or French words with accents), times around
// `pace` milliseconds, a wrong key now and then, and the Mini and average worked out from
// the times as the game does. The same seed always gives the same game.
FinishedGame sampleGame(std::mt19937 &random, const QString &player, int mode, const QDateTime &finishedAt,
                        int pace = 600, double mistakeRate = 0.05);
