#pragma once

#include <QDialog>

class QTimer;

// The hand-over window shown after every game: it names the next player when there are
// several, and closes itself after one timer interval.
class HandOverWindow : public QDialog
{
    Q_OBJECT

public:
    // nextPlayer is empty when there is only one player.
    explicit HandOverWindow(const QString &nextPlayer, int waitMs = 2000, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void waitAndClose();

    QTimer *timer_ = nullptr;
    bool timerFired_ = false;
    bool activated_ = false;
    bool closedEarly_ = false;
};
