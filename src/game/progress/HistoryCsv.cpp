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
    QList<QStringList> rows;
    for (const ItemLine &l : lines) {
        rows << QStringList{QString::number(l.gameId), l.player, QString::number(l.mode), l.startedAt, l.finishedAt,
                            QString::number(l.mini), QString::number(l.average), QString::number(l.gameWrongKeys),
                            QString::number(l.position), l.shown, QString::number(l.timeMs), QString::number(l.rawMs),
                            QString::number(l.wrongKeys)};
    }
    return table(QStringList{QStringLiteral("Partie"), QStringLiteral("Joueur"), QStringLiteral("Mode"),
                             QStringLiteral("Début"), QStringLiteral("Fin"), QStringLiteral("Mini"),
                             QStringLiteral("Moyenne"), QStringLiteral("Fautes de la partie"), QStringLiteral("Item"),
                             QStringLiteral("Affiché"), QStringLiteral("Temps (ms)"),
                             QStringLiteral("Temps sans pénalité (ms)"), QStringLiteral("Fautes")},
                 rows);
}

QByteArray table(const QStringList &header, const QList<QStringList> &rows)
{
    const auto line = [](const QStringList &row) {
        QStringList fields;
        for (const QString &f : row)
            fields << field(f);
        return fields.join(QLatin1Char(';'));
    };
    QStringList out{line(header)};
    for (const QStringList &row : rows)
        out << line(row);
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
