#include "platform/RecordText.h"

#include "platform/Windows1252.h"

QString FitName(const QString &text)
{
    return Windows1252::storable(text).left(kNameLength).leftJustified(kNameLength, QLatin1Char(' '));
}

QString PaddedNumber(qint64 n)
{
    return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}
