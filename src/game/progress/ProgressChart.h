#pragma once

#include "game/progress/HistoryRows.h"

#include <QDate>
#include <QList>
#include <QPointF>
#include <QString>
#include <QTimeZone>

#include <optional>

struct ProgressData;

// What the progression chart shows, worked out without drawing it. The horizontal axis
// counts the player's games of the mode, oldest first (the first game is 1), so that games
// played minutes apart stand apart in their order; the latest ones are shown unless all are
// asked for. The days are bands of that axis, and the chart is summed up in one sentence.
// Dates are read in the zone given, "today" is the date given: the caller's clock.
class ProgressChart
{
public:
    // The games shown when not all are asked for.
    static constexpr int kLatest = 50;
    // Bands are merged until there are no more than this many, so that their names fit.
    static constexpr int kMostBands = 8;

    // A run of games on the axis, from one game's left half to another's right half, named
    // by its day, or by its first and last days when several days had to share a band.
    struct Band
    {
        qreal from = 0;
        qreal to = 0;
        QString label;
    };

    ProgressChart(const ProgressData &data, bool all, const QTimeZone &zone, const QDate &today);

    // More games than the latest shown by default: the window offers to show them all.
    bool hasMore() const { return total_ > kLatest; }
    qsizetype total() const { return total_; }
    qsizetype shown() const { return games_.size(); }

    // The points: x is the game's number, y a time in milliseconds. Practice games are
    // points of their own, out of the lines of the ordinary games: their items were chosen
    // to be hard.
    const QList<QPointF> &averages() const { return averages_; }
    const QList<QPointF> &minis() const { return minis_; }
    const QList<QPointF> &practiceAverages() const { return practiceAverages_; }
    std::optional<qint64> recordMini() const { return recordMini_; }
    std::optional<qint64> recordAverage() const { return recordAverage_; }

    // The axes: the games' numbers with half a game on each side, every point and
    // record line inside the times with a margin; the step between two numbered ticks.
    qreal left() const { return left_; }
    qreal right() const { return right_; }
    int step() const { return step_; }
    qint64 lowest() const { return lowest_; }
    qint64 highest() const { return highest_; }
    const QList<Band> &bands() const { return bands_; }

    // The numbers of the first and last games shown, and what the point of game `number`
    // says: its number, date and time, Mini and average. Empty for a game not shown.
    int firstNumber() const { return firstNumber_; }
    int lastNumber() const { return firstNumber_ + int(games_.size()) - 1; }
    QString pointText(int number) const;

    // The chart in words for a screen reader: the games shown and when they were played,
    // the best and last averages of the ordinary games, and the trend of the last five
    // against the five before them.
    QString summary() const;

private:
    void fitTimes();
    void makeBands();
    QString when() const;

    QTimeZone zone_;
    QDate today_;
    qsizetype total_ = 0;
    int firstNumber_ = 1;
    QList<GameSummary> games_;
    QList<QDate> days_; // the local day of each shown game, null when unreadable
    QList<QPointF> averages_;
    QList<QPointF> minis_;
    QList<QPointF> practiceAverages_;
    std::optional<qint64> recordMini_;
    std::optional<qint64> recordAverage_;
    qreal left_ = 0;
    qreal right_ = 1;
    int step_ = 1;
    qint64 lowest_ = 0;
    qint64 highest_ = 1000;
    QList<Band> bands_;
};
