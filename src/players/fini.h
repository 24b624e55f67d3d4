#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QTimer;

// The hand-over window shown after every game: it passes the turn to the next player,
// names that player when there are several, and closes itself after one timer interval.
class fini : public QDialog
{
    Q_OBJECT

public:
    explicit fini(QWidget *parent = nullptr);

    // The wait before the window closes by itself (2000 ms unless a test shortens it).
    static void setWaitIntervalForTests(int ms);
    static int waitInterval();

    QGroupBox *Frame1 = nullptr;
    QLabel *Picture2 = nullptr;
    QLabel *label = nullptr;
    QTimer *Timer1 = nullptr;

    void Form_Load();
    void Form_Activate();
    void Timer1_Timer();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    qint16 TimerFired = 0;
    bool activated_ = false;
    bool closedEarly_ = false;
};
