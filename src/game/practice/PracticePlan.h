#pragma once

#include "game/progress/HistoryRows.h"

#include <QChar>
#include <QHash>
#include <QList>
#include <QString>

// Which characters a targeted practice game works on, and how often each is drawn, from a
// player's latest games of one mode.
//
// A character's error rate is smoothed toward the player's overall rate, as if it had been
// due kPriorCount more times at that overall rate (an additive, Bayesian smoothing): a
// character seen twice and missed once stays close to the player's usual rate, while one
// missed a third of the time over dozens of tries stands out. The overall rate itself is
// (wrong + 1) / (due + 2), so that it is never zero. In the one-letter mode the mean time of
// a letter is smoothed the same way toward the mean time of every letter (kPriorItems
// items). A character's score is its smoothed rate over the overall rate, times its
// smoothed time over the overall time in the one-letter mode; its weight is the square of
// its score. No character takes more than kMostShare of the draw, so that the items stay
// varied, the rest going to the others in proportion to their weights.
class PracticePlan
{
public:
    static constexpr int kLastGames = 30;
    static constexpr double kPriorCount = 10;
    static constexpr double kPriorItems = 5;
    static constexpr double kMostShare = 0.4;
    static constexpr int kMostShown = 5;

    struct Figures
    {
        QChar character;
        qint64 expected = 0;
        qint64 wrong = 0;
        double smoothedRate = 0;
        double meanMs = 0; // smoothed; 0 outside the one-letter mode
        double share = 0;  // the part of the draw that goes to this character
    };

    // The plan over `alphabet` (the characters the mode can show) from the figures of the
    // player's latest games; with none, every character has the same share.
    static PracticePlan build(const QList<RecentCharacter> &recent, int mode, const QList<QChar> &alphabet);

    // The one-letter mode's characters, A to Z.
    static QList<QChar> letters();

    bool hasHistory() const { return hasHistory_; }
    int mode() const { return mode_; }
    const QList<Figures> &figures() const { return figures_; }
    double share(QChar c) const;
    // The characters worked on, the most drawn first: those drawn clearly more often than
    // in an even draw, at most kMostShown; none without a history.
    QList<QChar> practised() const;
    // wrong / due over the latest games, as the player saw it; negative when never due.
    double rateBefore(QChar c) const;

    // The character for a uniform r in [0, 1), among those not in `left out`, by share.
    // A null character when every one is left out.
    QChar drawCharacter(double r, const QList<QChar> &leftOut = {}) const;

private:
    QList<Figures> figures_;
    QHash<QChar, int> index_;
    int mode_ = 1;
    bool hasHistory_ = false;
};
