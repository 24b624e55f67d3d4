#pragma once

#include <QWidget>

class GameSession;
class QLabel;

// The start-up window: it has the session open the files that stay open for the whole run
// and load the sound setting, grows its splash picture from nothing, then reports that the
// main window may take over. A click or a key on the picture cuts the growth short.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SplashWindow(GameSession &session, QWidget *parent = nullptr);

    // Number of growth steps taken.
    int growthSteps() const { return steps_; }

signals:
    // The start-up is over: the main window is to be shown and this window closed.
    void finished();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void start();
    void grow();

    GameSession &session_;
    QLabel *picture_ = nullptr;
    float splashSize_ = 0;
    bool growing_ = false;
    bool started_ = false;
    int steps_ = 0;
};
