#include "ui/RecordsTableModel.h"

#include "game/records/RecordsList.h"

#include <QLocale>

namespace {

QString spokenTime(qint16 ms)
{
    if (ms >= PlayerEntry::kUnset || ms <= 0)
        return QStringLiteral("pas encore de record");
    return QLocale(QLocale::French, QLocale::France).toString(ms) + QStringLiteral(" millisecondes");
}

} // namespace

void RecordsTableModel::setPlayers(const QList<PlayerEntry> &ranked)
{
    const qsizetype kept = std::min(rows_.size(), ranked.size());
    qsizetype firstChanged = -1;
    qsizetype lastChanged = -1;
    for (qsizetype i = 0; i < kept; ++i) {
        Row fresh{recordLine(int(i + 1), ranked[i]), ranked[i]};
        if (fresh == rows_[i])
            continue;
        rows_[i] = std::move(fresh);
        if (firstChanged < 0)
            firstChanged = i;
        lastChanged = i;
    }
    if (firstChanged >= 0)
        emit dataChanged(index(int(firstChanged), 0), index(int(lastChanged), ColumnCount - 1));
    if (ranked.size() > rows_.size()) {
        beginInsertRows(QModelIndex(), int(rows_.size()), int(ranked.size() - 1));
        for (qsizetype i = rows_.size(); i < ranked.size(); ++i)
            rows_.append(Row{recordLine(int(i + 1), ranked[i]), ranked[i]});
        endInsertRows();
    }
}

int RecordsTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int RecordsTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RecordsTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size())
        return QVariant();
    const Row &row = rows_[index.row()];
    if (role == LineRole)
        return row.line;
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return QVariant();
    const bool spoken = role == Qt::AccessibleTextRole;
    switch (index.column()) {
    case Rank: return QString::number(index.row() + 1);
    case Name: {
        const QString name = QStringView(row.record.Name).left(kNameLength).trimmed().toString();
        return spoken && name.isEmpty() ? QStringLiteral("sans nom") : name;
    }
    case Mini: return spoken ? spokenTime(row.record.Mini) : QString::number(row.record.Mini);
    case Average: return spoken ? spokenTime(row.record.Average) : QString::number(row.record.Average);
    default: return QVariant();
    }
}

QVariant RecordsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Rank: return QStringLiteral("Rang");
    case Name: return QStringLiteral("Prénom");
    case Mini: return QStringLiteral("Mini");
    case Average: return QStringLiteral("Moyenne");
    default: return QVariant();
    }
}
