#pragma once

#include "game/progress/HistoryRows.h"

#include <QChar>
#include <QList>
#include <QString>

// When the keyboard course brings in the next key: when every key learnt so far was typed
// right at least 95 % of the time over its last 20 appearances in lessons, and the mean
// time per key of the latest lesson (item times with their penalty, over the characters
// shown) is under the player's target. A key appearance is typed right when no wrong key
// was typed while it was due; an item with fewer wrong keys on a character than it shows
// that character counts the wrong ones among its latest appearances first.
//
// The three targets, mean time per key:
//   « lent »   1000 ms  (60 keys a minute, about 12 words)
//   « moyen »   600 ms  (100 keys a minute, about 20 words)
//   « rapide »  400 ms  (150 keys a minute, about 30 words)
namespace MovingOn {

inline constexpr int kAppearances = 20;
inline constexpr double kRightShare = 0.95;

struct Pace
{
    const char *name; // as the window offers it
    int targetMs;
};
inline constexpr Pace kPaces[] = {{"lent", 1000}, {"moyen", 600}, {"rapide", 400}};
inline constexpr int kDefaultTargetMs = 600;

struct KeyFigures
{
    QChar key;
    int seen = 0;  // appearances counted, at most kAppearances
    int wrong = 0; // among them, those with a wrong key
    bool good() const { return seen >= kAppearances && double(seen - wrong) >= kRightShare * seen; }
};

struct Verdict
{
    bool ready = false;
    QList<KeyFigures> keys; // in the order of `learnt`
    double meanMsPerKey = -1; // of the latest lesson; negative when there is none
};

// `latest`: the player's latest lessons, the newest first.
Verdict judge(const QList<QChar> &learnt, const QList<LessonGame> &latest, int targetMs);

// How many keys of a course of `courseSize` keys the player works with: at least the home
// row, never fewer than a lesson was already played with, one more when the keys in play
// pass the rule over the lessons read.
int keysInPlay(const LessonHistory &history, const QList<QChar> &order, int targetMs);

} // namespace MovingOn
