#include "game/progress/ClassOverview.h"

#include "game/practice/PracticePlan.h"

#include <QStringList>

#include <algorithm>

ClassOverview ClassOverview::build(const QList<PlayerFigures> &figures, int mode, const QDateTime &now)
{
    ClassOverview out;
    qint64 wrong = 0, due = 0;
    for (const PlayerFigures &f : figures) {
        wrong += std::max<qint64>(0, f.recentWrong);
        due += std::max<qint64>(0, f.recentDue);
    }
    out.classShare_ = wrongShare(wrong, due);
    for (const PlayerFigures &f : figures) {
        Player p;
        p.figures = f;
        p.trend = trend(f.recentAverages);
        p.wrongShare = wrongShare(f.recentWrong, f.recentDue);
        p.missed = mostMissed(f.characters, mode);
        p.reasons = reasons(p.trend, p.wrongShare, out.classShare_, f.lastPlayed, now);
        out.players_ << p;
    }
    return out;
}

ClassOverview::Trend ClassOverview::trend(const QList<qint64> &averages)
{
    const qsizetype n = averages.size();
    if (n < kTrendMinimum)
        return Trend::None;
    const qsizetype half = n / 2;
    double older = 0, newer = 0;
    for (qsizetype i = 0; i < half; ++i) {
        older += double(averages[i]);
        newer += double(averages[n - 1 - i]);
    }
    if (older <= 0)
        return Trend::None;
    const double change = (newer - older) / older;
    if (change <= -kTrendThreshold)
        return Trend::Faster;
    if (change >= kTrendThreshold)
        return Trend::Slower;
    return Trend::Steady;
}

double ClassOverview::wrongShare(qint64 wrong, qint64 due)
{
    wrong = std::max<qint64>(0, wrong);
    due = std::max<qint64>(0, due);
    return wrong + due > 0 ? double(wrong) / double(wrong + due) : -1.0;
}

QList<QChar> ClassOverview::mostMissed(const QList<RecentCharacter> &characters, int mode)
{
    QList<QChar> alphabet;
    for (const RecentCharacter &c : characters) {
        if (c.character.size() == 1 && c.wrong > 0)
            alphabet << c.character.at(0);
    }
    QList<PracticePlan::Figures> figures = PracticePlan::build(characters, mode, alphabet).figures();
    std::stable_sort(figures.begin(), figures.end(), [](const auto &a, const auto &b) {
        return a.smoothedRate != b.smoothedRate ? a.smoothedRate > b.smoothedRate : a.character < b.character;
    });
    QList<QChar> out;
    for (const PracticePlan::Figures &f : figures) {
        if (out.size() == kMissedShown)
            break;
        if (f.wrong > 0)
            out << f.character;
    }
    return out;
}

int ClassOverview::reasons(Trend trend, double share, double classShare, const QDateTime &lastPlayed,
                           const QDateTime &now)
{
    int out = 0;
    if (trend == Trend::Slower)
        out |= Slower;
    if (share >= 0 && classShare >= 0 && share > classShare * kWrongMargin)
        out |= MoreWrongKeys;
    if (!lastPlayed.isValid() || lastPlayed < weekStart(now))
        out |= Idle;
    return out;
}

QString ClassOverview::trendText(Trend trend)
{
    switch (trend) {
    case Trend::Faster: return QStringLiteral("plus rapide");
    case Trend::Steady: return QStringLiteral("stable");
    case Trend::Slower: return QStringLiteral("plus lent");
    case Trend::None: break;
    }
    return QStringLiteral("trop peu de parties");
}

QString ClassOverview::reasonText(int reasons)
{
    QStringList out;
    if (reasons & Slower)
        out << QStringLiteral("ralentit");
    if (reasons & MoreWrongKeys)
        out << QStringLiteral("plus de fautes que la classe");
    if (reasons & Idle)
        out << QStringLiteral("aucune partie depuis %1\u00A0jours").arg(kIdleDays);
    return out.join(QStringLiteral(", "));
}
