#pragma once

#include "game/ProgressData.h"

#include <QDialog>
#include <QString>

#include <functional>

class KeyboardLayouts;
class KeyboardPanel;
class MessageBoxes;
class QChart;
class QChartView;
class QBoxLayout;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class HistoryReader;

// The progression of one player in one mode, chosen in the window: every finished game
// over time with the personal records, the last games, and a keyboard coloured by error
// rate with the most missed characters. "Exporter…" saves the player's games as CSV. The
// window only reads: the history, and the record file for the personal records.
class ProgressionWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kLastGames = 50;
    // The narrowest window that shows the last games beside the keyboard, not above it.
    static constexpr int kSideBySideWidth = 900;

    // currentPlayer is empty while nobody is named in the main window.
    ProgressionWindow(HistoryReader &history, MessageBoxes &boxes, KeyboardLayouts &layouts,
                      const QString &currentPlayer, int currentMode, QWidget *parent = nullptr);

    // How the export asks for a file: the standard save dialog unless a test replaces it.
    // It gets the suggested path and returns the chosen one, empty to cancel.
    using FileChooser = std::function<QString(QWidget *parent, const QString &suggested)>;
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

    const ProgressData &data() const { return data_; }
    QString emptySentence() const;

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    void reload();
    void showChart(const ChartData &chart);
    void showTable();
    void exportGames();

    HistoryReader &history_;
    MessageBoxes &boxes_;
    FileChooser chooseFile_;
    ProgressData data_;

    QComboBox *playerBox_ = nullptr;
    QComboBox *modeBox_ = nullptr;
    QStackedWidget *pages_ = nullptr;
    QLabel *emptyLabel_ = nullptr;
    QChart *chart_ = nullptr;
    QChartView *chartView_ = nullptr;
    QTableWidget *table_ = nullptr;
    KeyboardPanel *keyboard_ = nullptr;
    QBoxLayout *lower_ = nullptr;
    QGroupBox *tableFrame_ = nullptr;
    QPushButton *exportButton_ = nullptr;
    QPushButton *closeButton_ = nullptr;
};
