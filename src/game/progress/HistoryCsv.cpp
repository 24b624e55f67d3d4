#include "game/progress/HistoryCsv.h"

#include <QSaveFile>
#include <QStringList>

namespace HistoryCsv {

namespace {

QString field(const QString &text)
{
    const bool quote = text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"'))
        || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))
        || text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' '));
    if (!quote)
        return text;
    QString out = text;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString reason(const QFileDevice &file)
{
    switch (file.error()) {
    case QFileDevice::PermissionsError: return QStringLiteral("accès refusé");
    case QFileDevice::OpenError: return QStringLiteral("création du fichier impossible");
    case QFileDevice::ResourceError: return QStringLiteral("disque plein");
    default: return QStringLiteral("écriture impossible");
    }
}

} // namespace

QByteArray build(const QList<ItemLine> &lines)
{
    QStringList out;
    out << QStringLiteral("Partie;Joueur;Mode;Début;Fin;Mini;Moyenne;Fautes de la partie;Item;Affiché;"
                          "Temps (ms);Temps sans pénalité (ms);Fautes");
    for (const ItemLine &l : lines) {
        out << QStringList{QString::number(l.gameId), field(l.player), QString::number(l.mode), field(l.startedAt),
                           field(l.finishedAt), QString::number(l.mini), QString::number(l.average),
                           QString::number(l.gameWrongKeys), QString::number(l.position), field(l.shown),
                           QString::number(l.timeMs), QString::number(l.rawMs), QString::number(l.wrongKeys)}
                   .join(QLatin1Char(';'));
    }
    return QByteArray("\xEF\xBB\xBF") + out.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

QString suggestedFileName(const QString &player)
{
    QString name = player;
    for (QChar &c : name) {
        if (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    return QStringLiteral("Clavimo - %1.csv").arg(name);
}

bool save(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = reason(file);
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        *error = reason(file);
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = reason(file);
        return false;
    }
    return true;
}

} // namespace HistoryCsv
