#pragma once

#include "ui/CsvExport.h"

#include <QDialog>
#include <QString>

#include <functional>

class ClassTableModel;
class HistoryReader;
class MessageBoxes;
class QComboBox;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class WallClock;

// « La classe »: every player of the history in one mode chosen at the top, one row each,
// those who need attention marked with the reason in words, sorted by any column (at first
// those who need attention first). Enter or a double click on a row opens that player's
// progression; "Exporter…" saves the table as CSV, in the order shown.
class ClassWindow : public QDialog
{
    Q_OBJECT

public:
    // Opens the progression of a player in a mode, over the class window.
    using ProgressionOpener = std::function<void(QWidget *parent, const QString &player, int mode)>;

    ClassWindow(HistoryReader &history, MessageBoxes &boxes, WallClock &clock, int currentMode,
                ProgressionOpener openProgression, QWidget *parent = nullptr);

    void setFileChooser(CsvFileChooser chooser) { chooseFile_ = std::move(chooser); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reload();
    void openRow(int row);
    void exportTable();

    HistoryReader &history_;
    MessageBoxes &boxes_;
    WallClock &clock_;
    ProgressionOpener openProgression_;
    CsvFileChooser chooseFile_;

    QComboBox *modeBox_ = nullptr;
    QLabel *summary_ = nullptr;
    ClassTableModel *model_ = nullptr;
    QSortFilterProxyModel *sorted_ = nullptr;
    QTableView *table_ = nullptr;
    QPushButton *exportButton_ = nullptr;
    QPushButton *closeButton_ = nullptr;
};
