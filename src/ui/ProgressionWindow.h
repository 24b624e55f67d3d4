#pragma once

#include "game/progress/ProgressChart.h"
#include "game/progress/ProgressData.h"
#include "ui/CsvExport.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class KeyboardLayouts;
class KeyboardPanel;
class MessageBoxes;
class QChart;
class QChartView;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QScatterSeries;
class QStackedWidget;
class QTableWidget;
class HistoryReader;
class WallClock;

// The progression of one player in one mode, chosen in the window: the latest games, or
// all of them, one after the other under the days they were played, with the personal
// records; the last games, and a keyboard coloured by error rate with the most missed
// characters. "Exporter…" saves the player's games as CSV. The
// window only reads: the history, and the record file for the personal records.
class ProgressionWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kLastGames = 50;
    // The narrowest window that shows the last games beside the keyboard, not above it.
    static constexpr int kSideBySideWidth = 900;

    // currentPlayer is empty while nobody is named in the main window.
    // The clock tells which day is today, in the system's time zone.
    ProgressionWindow(HistoryReader &history, MessageBoxes &boxes, KeyboardLayouts &layouts, WallClock &clock,
                      const QString &currentPlayer, int currentMode, QWidget *parent = nullptr);

    using FileChooser = CsvFileChooser;
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }


protected:
    void resizeEvent(QResizeEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString emptySentence() const;
    void reload();
    void showChart();
    void pointAt(int number);
    void showTable();
    void exportGames();

    HistoryReader &history_;
    MessageBoxes &boxes_;
    WallClock &clock_;
    FileChooser chooseFile_;
    ProgressData data_;
    std::optional<ProgressChart> chartData_;
    int current_ = 0;

    QComboBox *playerBox_ = nullptr;
    QComboBox *modeBox_ = nullptr;
    QStackedWidget *pages_ = nullptr;
    QLabel *emptyLabel_ = nullptr;
    QLabel *lessonsLabel_ = nullptr;
    QCheckBox *allGames_ = nullptr;
    QChart *chart_ = nullptr;
    QScatterSeries *currentMark_ = nullptr;
    QLabel *pointLabel_ = nullptr;
    QChartView *chartView_ = nullptr;
    QTableWidget *table_ = nullptr;
    KeyboardPanel *keyboard_ = nullptr;
    QBoxLayout *lower_ = nullptr;
    QGroupBox *tableFrame_ = nullptr;
    QPushButton *exportButton_ = nullptr;
    QPushButton *closeButton_ = nullptr;
};
