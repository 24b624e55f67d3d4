#pragma once

#include <QDialog>
#include <QStringList>

class QGroupBox;
class QLabel;
class QListView;
class QPushButton;
class QStringListModel;

// The records list: every player of the current mode ranked by best game average, shown
// modally over the main window. It only reads the player file.
class record : public QDialog
{
    Q_OBJECT

public:
    explicit record(QWidget *parent = nullptr);

    QGroupBox *titre = nullptr;
    QLabel *Label1 = nullptr;
    QListView *Liste = nullptr;
    QPushButton *ok = nullptr;

    // The lines of Liste, in order.
    QStringList lines() const;

    void Form_Activate();
    void Form_Resize();
    void ok_Click();

protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void Form_Load();
    QSize frameExtra() const;

    QStringListModel *model_ = nullptr;
    float listHeight_ = 5325; // twips
    float loadHeight_ = 0; // outer height chosen at load, in twips
    bool shownOnce_ = false;
    bool filledOnShow_ = false;
};
