#pragma once

#include "game/records/PlayerEntry.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// The records list as a table of four columns (rank, name, Mini, average) with their
// headers, so that screen readers read it cell by cell with sentences; each row also keeps
// the designed line of text that the window draws.
class RecordsTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Rank, Name, Mini, Average, ColumnCount };
    // The designed line of the whole row, on every cell of it.
    static constexpr int LineRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    // The ranked players. Rows already there are updated in place and new ones appended,
    // so that the view keeps its scroll position.
    void setPlayers(const QList<PlayerEntry> &ranked);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Row
    {
        QString line;
        PlayerEntry record;
        bool operator==(const Row &other) const { return line == other.line; }
    };
    QList<Row> rows_;
};
