#include "game/progress/ProgressChart.h"

#include "game/progress/ProgressData.h"

#include <QLocale>

#include <algorithm>
#include <limits>

namespace {

const QString kColon = QStringLiteral("\u00A0: ");

QLocale french()
{
    return QLocale(QLocale::French, QLocale::France);
}

QString milliseconds(qint64 ms)
{
    return french().toString(ms) + (ms > 1 ? QStringLiteral(" millisecondes") : QStringLiteral(" milliseconde"));
}

// "16 h 03", as French writes a time in a sentence.
QString clockTime(const QTime &t)
{
    return QStringLiteral("%1\u00A0h\u00A0%2").arg(t.hour()).arg(t.minute(), 2, 10, QLatin1Char('0'));
}

// "1er décembre 2026", "7 décembre": the day, then the month and the year when asked.
QString longDate(const QDate &d, bool month = true, bool year = true)
{
    QString text = d.day() == 1 ? QStringLiteral("1er") : QString::number(d.day());
    if (month)
        text += QLatin1Char(' ') + french().standaloneMonthName(d.month(), QLocale::LongFormat).toLower();
    if (year)
        text += QLatin1Char(' ') + QString::number(d.year());
    return text;
}

// The smallest of 1, 2, 5, 10, 20, 50... that numbers no more than ten ticks.
int tickStep(qsizetype games)
{
    for (int step = 1;; step *= 10) {
        for (int m : {1, 2, 5})
            if (games <= qsizetype(step) * m * 10)
                return step * m;
    }
}

} // namespace

ProgressChart::ProgressChart(const ProgressData &data, bool all, const QTimeZone &zone, const QDate &today)
    : zone_(zone)
    , today_(today)
    , total_(data.games.size())
    , recordMini_(data.recordMini)
    , recordAverage_(data.recordAverage)
{
    const qsizetype first = all ? 0 : std::max<qsizetype>(0, total_ - kLatest);
    firstNumber_ = int(first) + 1;
    games_ = data.games.mid(first);
    days_.reserve(games_.size());
    for (qsizetype i = 0; i < games_.size(); ++i) {
        const GameSummary &g = games_[i];
        days_.append(g.finishedAt.isValid() ? g.finishedAt.toTimeZone(zone_).date() : QDate());
        const qreal x = qreal(firstNumber_ + i);
        if (g.practice) {
            practiceAverages_.append(QPointF(x, qreal(g.average)));
        } else {
            averages_.append(QPointF(x, qreal(g.average)));
            minis_.append(QPointF(x, qreal(g.mini)));
        }
    }
    if (!games_.isEmpty()) {
        // Half a game on each side: no point on the frame, and no tick numbered with a game
        // that is not shown.
        left_ = qreal(firstNumber_) - 0.5;
        right_ = qreal(lastNumber()) + 0.5;
        step_ = tickStep(games_.size());
    }
    fitTimes();
    makeBands();
}

void ProgressChart::fitTimes()
{
    qint64 lowest = std::numeric_limits<qint64>::max();
    qint64 highest = std::numeric_limits<qint64>::min();
    auto take = [&](qint64 v) {
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    };
    for (const QList<QPointF> *points : {&averages_, &minis_, &practiceAverages_})
        for (const QPointF &p : *points)
            take(qint64(p.y()));
    for (const std::optional<qint64> &record : {recordMini_, recordAverage_})
        if (record)
            take(*record);
    if (lowest > highest) { // nothing to show
        lowest = 0;
        highest = 1000;
    }
    // A tenth of the span on each side, at least 50 ms, never below 0.
    const qint64 margin = std::max<qint64>(50, (highest - lowest) / 10);
    lowest_ = std::max<qint64>(0, lowest - margin);
    highest_ = highest + margin;
}

void ProgressChart::makeBands()
{
    // One run per day first; a game whose date cannot be read stays in the run before it.
    struct Run
    {
        qreal from;
        QDate first;
        QDate last;
    };
    QList<Run> runs;
    for (qsizetype i = 0; i < games_.size(); ++i) {
        const QDate day = days_[i];
        if (!day.isValid())
            continue;
        if (runs.isEmpty() || day != runs.last().last)
            runs.append(Run{runs.isEmpty() ? left_ : qreal(firstNumber_ + i) - 0.5, day, day});
    }
    // Runs narrower than their share of the axis join the run before them, so that each
    // band is wide enough for its name; a narrow last run joins the one before it too.
    const qreal narrowest = (right_ - left_) / kMostBands;
    QList<Run> merged;
    for (const Run &run : runs) {
        if (!merged.isEmpty() && run.from - merged.last().from < narrowest)
            merged.last().last = run.last;
        else
            merged.append(run);
    }
    if (merged.size() > 1 && right_ - merged.last().from < narrowest) {
        merged[merged.size() - 2].last = merged.last().last;
        merged.removeLast();
    }
    if (merged.isEmpty())
        return;
    const QString format = merged.first().first.year() == merged.last().last.year() ? QStringLiteral("dd/MM")
                                                                                   : QStringLiteral("dd/MM/yy");
    for (qsizetype i = 0; i < merged.size(); ++i) {
        const Run &run = merged[i];
        QString label;
        // Several days: the first and the last, or over several years only the first, which
        // is long enough with its year.
        if (run.first != run.last && format.size() == 5)
            label = run.first.toString(format) + QStringLiteral("–") + run.last.toString(format);
        else if (run.first != run.last)
            label = run.first.toString(format);
        else if (run.first == today_)
            label = QStringLiteral("aujourd'hui");
        else if (run.first == today_.addDays(-1))
            label = QStringLiteral("hier");
        else
            label = run.first.toString(format);
        bands_.append(Band{run.from, i + 1 < merged.size() ? merged[i + 1].from : right_, label});
    }
}

QString ProgressChart::pointText(int number) const
{
    const qsizetype i = number - firstNumber_;
    if (i < 0 || i >= games_.size())
        return QString();
    const GameSummary &g = games_[i];
    QString text = QStringLiteral("Partie ") + french().toString(number);
    if (g.practice)
        text += QStringLiteral(" (entraînement)");
    if (g.finishedAt.isValid()) {
        const QDateTime local = g.finishedAt.toTimeZone(zone_);
        text += QStringLiteral(", le ") + longDate(local.date()) + QStringLiteral(" à ") + clockTime(local.time());
    } else {
        text += QStringLiteral(", date illisible");
    }
    return text + kColon + QStringLiteral("Mini ") + french().toString(g.mini) + QStringLiteral(" ms, moyenne ")
        + french().toString(g.average) + QStringLiteral(" ms");
}

// " aujourd'hui, de 16 h 03 à 16 h 11", " du 5 au 7 décembre 2026": when the games shown
// were played, empty when no date can be read.
QString ProgressChart::when() const
{
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < games_.size(); ++i) {
        if (days_[i].isValid()) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return QString();
    const QDate d1 = days_[first], d2 = days_[last];
    if (d1 != d2) {
        const bool sameYear = d1.year() == d2.year();
        return QStringLiteral(" du ") + longDate(d1, !sameYear || d1.month() != d2.month(), !sameYear)
            + QStringLiteral(" au ") + longDate(d2);
    }
    QString text = d1 == today_                ? QStringLiteral(" aujourd'hui")
        : d1 == today_.addDays(-1)             ? QStringLiteral(" hier")
                                               : QStringLiteral(" le ") + longDate(d1);
    const QTime t1 = games_[first].finishedAt.toTimeZone(zone_).time();
    const QTime t2 = games_[last].finishedAt.toTimeZone(zone_).time();
    if (clockTime(t1) == clockTime(t2))
        return text + QStringLiteral(", à ") + clockTime(t1);
    return text + QStringLiteral(", de ") + clockTime(t1) + QStringLiteral(" à ") + clockTime(t2);
}

QString ProgressChart::summary() const
{
    const QLocale fr = french();
    QList<qint64> averages; // ordinary games, oldest first
    qsizetype practice = 0;
    for (const GameSummary &g : games_) {
        if (g.practice)
            ++practice;
        else
            averages.append(g.average);
    }
    const qsizetype games = games_.size();
    QString text = games == total_
        ? fr.toString(games) + (games > 1 ? QStringLiteral(" parties") : QStringLiteral(" partie"))
        : QStringLiteral("Les ") + fr.toString(games) + QStringLiteral(" dernières parties sur ") + fr.toString(total_);
    QString period = when();
    if (games < total_ && !period.isEmpty())
        period.prepend(QLatin1Char(','));
    text += period;
    if (practice > 0)
        text += (period.isEmpty() ? QStringLiteral(" dont ") : QStringLiteral(", dont ")) + fr.toString(practice)
            + QStringLiteral(" d'entraînement");
    if (averages.isEmpty())
        return text + QStringLiteral(", aucune partie ordinaire.");
    text += QStringLiteral(". Meilleure moyenne") + kColon
        + milliseconds(*std::min_element(averages.cbegin(), averages.cend()));
    text += QStringLiteral(". Dernière moyenne") + kColon + milliseconds(averages.last());
    text += QStringLiteral(". Tendance") + kColon;
    // The mean of the last five games against the five before: a change under 3 % is
    // called steady, times going down is progress.
    constexpr qsizetype kSpan = 5;
    if (averages.size() < 2)
        return text + QStringLiteral("pas encore assez de parties.");
    const qsizetype recent = std::min(kSpan, averages.size() / 2);
    auto mean = [&averages](qsizetype from, qsizetype count) {
        double sum = 0;
        for (qsizetype i = from; i < from + count; ++i)
            sum += double(averages[i]);
        return sum / double(count);
    };
    const double now = mean(averages.size() - recent, recent);
    const qsizetype before = std::min(kSpan, averages.size() - recent);
    const double then = mean(averages.size() - recent - before, before);
    if (now < then * 0.97)
        return text + QStringLiteral("en progrès, moyennes plus rapides qu'avant.");
    if (now > then * 1.03)
        return text + QStringLiteral("en recul, moyennes plus lentes qu'avant.");
    return text + QStringLiteral("stable.");
}
