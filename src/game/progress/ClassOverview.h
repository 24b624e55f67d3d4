#pragma once

#include "game/progress/HistoryRows.h"

#include <QChar>
#include <QDateTime>
#include <QList>
#include <QString>

// Every player of the history at a glance, in one mode, and who needs attention.
//
// Trend, over the latest kRecentGames ordinary games: the mean average of the newer half
// against the mean average of the older half (with an odd count, the game in the middle is
// left out). An average lower by kTrendThreshold (5 %) or more of the older mean is
// "faster", higher by as much "slower", anything between "steady"; with fewer than
// kTrendMinimum games there is no trend.
//
// Wrong keys: the share of the keys pressed that were wrong over the same games, that is
// wrong / (due + wrong), each character due being typed right once in the end.
//
// A player needs attention when the trend is slower, when the share of wrong keys is above
// the class's by more than kWrongMargin (a fifth) of it, the class's share being that of
// every key pressed in the players' latest games, or when the latest game of the mode is
// more than kIdleDays days old.
//
// The characters missed most are those with the highest error rate smoothed as targeted
// practice smooths it, over the latest games it reads, among those missed at least once.
class ClassOverview
{
public:
    static constexpr int kRecentGames = 10;
    static constexpr int kTrendMinimum = 4;
    static constexpr double kTrendThreshold = 0.05;
    static constexpr double kWrongMargin = 1.2;
    static constexpr int kIdleDays = 7;
    static constexpr int kMissedShown = 3;

    enum class Trend { None, Faster, Steady, Slower };
    enum Reason { Slower = 1, MoreWrongKeys = 2, Idle = 4 };

    struct Player
    {
        PlayerFigures figures;
        Trend trend = Trend::None;
        double wrongShare = -1; // negative without a recent ordinary game
        QList<QChar> missed;    // the most missed first
        int reasons = 0;        // Reason flags
        // The latest ordinary game's average; 0 without one.
        qint64 lastAverage() const { return figures.recentAverages.isEmpty() ? 0 : figures.recentAverages.last(); }
    };

    static ClassOverview build(const QList<PlayerFigures> &figures, int mode, const QDateTime &now);
    // The start of the days counted as this week: kIdleDays before now.
    static QDateTime weekStart(const QDateTime &now) { return now.addDays(-kIdleDays); }

    static Trend trend(const QList<qint64> &averagesOldestFirst);
    static double wrongShare(qint64 wrong, qint64 due);
    static QList<QChar> mostMissed(const QList<RecentCharacter> &characters, int mode);
    static int reasons(Trend trend, double share, double classShare, const QDateTime &lastPlayed, const QDateTime &now);

    // The words shown and read: "plus rapide", "ralentit, plus de fautes que la classe", ...
    static QString trendText(Trend trend);
    static QString reasonText(int reasons);

    const QList<Player> &players() const { return players_; }
    double classShare() const { return classShare_; }

private:
    QList<Player> players_;
    double classShare_ = -1;
};
