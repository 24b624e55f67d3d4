#pragma once

#include "game/progress/ClassOverview.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QStringList>

// The class overview as a table, one row per player, the attention mark beside the name
// where it is seen first, with its column headers, so that
// screen readers read it cell by cell: the attention mark is read as words, and a value
// left empty is said to be. Each cell also gives what its column sorts by and what the CSV
// export writes.
class ClassTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        Player,
        Attention,
        GamesThisWeek,
        Games,
        PracticeGames,
        LastPlayed,
        LastAverage,
        BestAverage,
        Trend,
        WrongShare,
        Missed,
        KeysLearnt, // the keyboard course's lessons, apart from the games
        ColumnCount
    };
    static constexpr int SortRole = Qt::UserRole + 1;
    static constexpr int ExportRole = Qt::UserRole + 2;

    using QAbstractTableModel::QAbstractTableModel;

    void setOverview(const ClassOverview &overview);
    const ClassOverview &overview() const { return overview_; }
    // Each player's lessons of the keyboard course, by name.
    void setLessons(const QHash<QString, LessonHistory> &lessons);
    QStringList headers() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ClassOverview overview_;
    QHash<QString, LessonHistory> lessons_;
};
