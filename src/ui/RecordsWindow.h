#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;
class RecordsTableModel;

class PlayerFile;

// The records list: every player of the current mode ranked by best game average, shown
// modally over the main window. It only reads the player file. The list is drawn as lines
// of text and read by screen readers as a table.
class RecordsWindow : public QDialog
{
    Q_OBJECT

public:
    RecordsWindow(const PlayerFile &file, int mode, QWidget *parent = nullptr);

protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    class Table;
    void placeAtLoad();
    // Fills the list from the file, keeping the scroll position when nothing changed.
    void fill();
    // Keeps the width as designed and gives the list the height the window has.
    void fitToHeight();
    QSize frameExtra() const;

    const PlayerFile &file_;
    QGroupBox *frame_ = nullptr;
    Table *list_ = nullptr;
    QPushButton *okButton_ = nullptr;

    RecordsTableModel *model_ = nullptr;
    float listHeight_ = 5325; // twips
    float loadHeight_ = 0; // outer height chosen at load, in twips
    bool shownOnce_ = false;
    bool filledOnShow_ = false;
};
