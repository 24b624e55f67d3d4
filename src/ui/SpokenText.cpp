#include "ui/SpokenText.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

namespace SpokenText {

namespace {

const QString kColon = QStringLiteral("\u00A0: ");
// The time the record files hold for "no record yet", and the name beside it.
constexpr qint64 kUnset = 9999;
const QString kPlaceholderName = QStringLiteral("xxxxx");

QLocale french()
{
    return QLocale(QLocale::French, QLocale::France);
}

QString milliseconds(qint64 ms)
{
    return french().toString(ms) + (ms > 1 ? QStringLiteral(" millisecondes") : QStringLiteral(" milliseconde"));
}

} // namespace

QString item(const QString &item, int mode)
{
    if (mode == 1)
        return QStringLiteral("Lettre") + kColon + item;
    // Words are shown in capitals; read in small letters they are spoken as words, not spelt.
    return QStringLiteral("Mot") + kColon + french().toLower(item);
}

QString itemTime(qint64 ms)
{
    return QStringLiteral("Temps") + kColon + milliseconds(ms);
}

QString gameOver(const QString &nextPlayer)
{
    const QString over = QStringLiteral("Partie terminée. ");
    if (nextPlayer.isEmpty())
        return over + QStringLiteral("Touche F2 pour une nouvelle partie.");
    return over + QStringLiteral("Au tour de ") + nextPlayer + kColon + QStringLiteral("barre espace pour continuer.");
}

QString itemNumber(int number, int count)
{
    return QStringLiteral("Élément %1 sur %2").arg(number).arg(count);
}

QString lessonItem(const QString &item, int number, int count)
{
    QStringList letters;
    for (QChar c : item)
        letters << QString(c);
    return itemNumber(number, count) + QStringLiteral("\u00A0: ") + letters.join(QStringLiteral(", "));
}

QString score(const QString &title, const QString &caption)
{
    // The captions are "[name] Mini : number" or "[name] Moyenne : number", padded with
    // spaces; before any time they are the bare word "Mini" or "Moyenne".
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(.*?)\\s*(Mini|Moyenne)\\s*(?::\\s*(\\d+))?\\s*$"));
    const QRegularExpressionMatch m = pattern.match(caption);
    if (!m.hasMatch())
        return title + kColon + caption.simplified();
    const QString name = m.captured(1);
    const QString what = title + QLatin1Char(' ') + m.captured(2) + kColon;
    if (m.captured(3).isEmpty())
        return what + (title.startsWith(QStringLiteral("Record")) ? QStringLiteral("pas encore de record")
                                                                    : QStringLiteral("pas encore de temps"));
    const qint64 ms = m.captured(3).toLongLong();
    if (ms >= kUnset || name == kPlaceholderName)
        return what + QStringLiteral("pas encore de record");
    return what + (name.isEmpty() ? QString() : name + QStringLiteral(", ")) + milliseconds(ms);
}

QString key(const QString &label, qint64 wrong, qint64 expected)
{
    const QString name = QStringLiteral("Touche ") + (label.trimmed().isEmpty() ? QStringLiteral("sans nom") : label);
    if (expected <= 0 && wrong <= 0)
        return name + kColon + QStringLiteral("jamais demandée");
    const QString errors = french().toString(wrong) + (wrong > 1 ? QStringLiteral(" erreurs") : QStringLiteral(" erreur"));
    if (expected <= 0)
        return name + kColon + errors;
    const double percent = 100.0 * double(wrong) / double(expected);
    return name + kColon + errors + QStringLiteral(" sur ") + french().toString(expected) + QStringLiteral(", ")
        + french().toString(percent, 'f', 1) + QStringLiteral("\u00A0%");
}

} // namespace SpokenText
