#include "game/practice/PracticeReport.h"

#include <QStringList>

#include <cmath>

namespace {

// A space inside a word of a teacher's list is practised like a letter, but must be named.
QString shown(QChar c)
{
    return c == QLatin1Char(' ') ? QStringLiteral("espace") : QString(c);
}

} // namespace

namespace PracticeReport {

QString caption(const PracticePlan &plan)
{
    const QList<QChar> practised = plan.practised();
    if (practised.isEmpty())
        return QStringLiteral("Entraînement\u00A0: tirage égal");
    QStringList characters;
    for (QChar c : practised)
        characters << shown(c);
    return QStringLiteral("Entraînement\u00A0: ") + characters.join(QLatin1Char(' '));
}

QString percent(double rate)
{
    return QStringLiteral("%1\u00A0%").arg(qRound(rate * 100.0));
}

QString summary(const PracticePlan &plan, const QList<PlayedItem> &items)
{
    QStringList lines;
    for (QChar c : plan.practised()) {
        qint64 due = 0, wrong = 0;
        for (const PlayedItem &item : items) {
            due += item.shown.count(c);
            for (const Mistake &m : item.mistakes)
                wrong += m.expected == c ? 1 : 0;
        }
        const double before = plan.rateBefore(c);
        const QString was = before < 0 ? QStringLiteral("jamais demandé avant")
                                       : percent(before) + QStringLiteral(" de fautes avant");
        QString now = due > 0 ? percent(double(wrong) / double(due)) + QStringLiteral(" dans cette partie")
                              : QStringLiteral("pas demandé dans cette partie");
        // Wrong keys are counted per time the character was due, so a character missed
        // again and again goes past 100 %: the counts say why.
        if (wrong > due && due > 0)
            now += QStringLiteral(" (%1\u00A0fautes pour %2\u00A0fois demandé)").arg(wrong).arg(due);
        lines << QStringLiteral("%1\u00A0: %2, %3").arg(shown(c), was, now);
    }
    if (lines.isEmpty())
        return QString();
    return QStringLiteral("Entraînement terminé.\n") + lines.join(QLatin1Char('\n'));
}

} // namespace PracticeReport
