#include "game/session/Statistics.h"

#include "platform/RecordText.h"

namespace Statistics {

qint64 itemTime(qint64 rawMs, qint64 errors)
{
    // raw + raw * errors * 10 / 100 rounded down; in integers, so that no binary fraction
    // can turn 600.0 into 599.
    const qint64 penalised = rawMs + (rawMs * errors) / 10;
    return penalised == 0 ? 1 : penalised;
}

qint64 average(qint64 total, qint64 count)
{
    return count > 0 ? total / count : 0;
}

QString gameMiniCaption(qint64 mini)
{
    return QStringLiteral("Mini    : ") + PaddedNumber(mini);
}

QString gameAverageCaption(qint64 average)
{
    return QStringLiteral("Moyenne   : ") + PaddedNumber(average);
}

QString persoMiniCaption(qint64 mini)
{
    return QStringLiteral("Mini    : ") + PaddedNumber(mini);
}

QString persoAverageCaption(qint64 average)
{
    return QStringLiteral("Moyenne : ") + PaddedNumber(average);
}

QString absMiniLoadedCaption(const QString &name15, qint64 mini)
{
    return name15 + QStringLiteral(" Mini :    ") + PaddedNumber(mini);
}

QString absAverageLoadedCaption(const QString &name15, qint64 average)
{
    return name15 + QStringLiteral("Moyenne : ") + PaddedNumber(average);
}

QString absMiniBeatenCaption(const QString &name15, qint64 mini)
{
    return name15 + QStringLiteral(" Mini    :    ") + PaddedNumber(mini);
}

QString absAverageBeatenCaption(const QString &playerName, qint64 average)
{
    return playerName + QStringLiteral(" Moyenne : ") + PaddedNumber(average);
}

} // namespace Statistics
