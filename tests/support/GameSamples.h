#pragma once

#include "game/session/FinishedGame.h"

#include <QDateTime>
#include <QString>

#include <random>

// Finished games made up for the history tests, the benchmark and the screenshots: letters
// or French words, times around `pace` ms, a wrong key now and then, Mini and average worked
// out as the game does. The same seed always gives the same game.
FinishedGame sampleGame(std::mt19937 &random, const QString &player, int mode, const QDateTime &finishedAt,
                        int pace = 600, double mistakeRate = 0.05);
