#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
#include "app/clavimo.h"

// The start-up window: it opens the files that stay open for the whole run, loads the
// sound setting, grows its splash picture from nothing, then shows the main window and
// closes itself. A click or a key on the picture cuts the growth short.
class debut : public QWidget
{
    Q_OBJECT

public:
    explicit debut(QWidget *parent = nullptr);
    ~debut() override;

    void Form_Load();
    void Form_Activate();
    void Picture1_Click();
    void Picture1_KeyDown(int KeyCode, int Shift);

    QLabel *Picture1 = nullptr;
    float SplashSize = 0;
    bool Growing = false;

    // The main window once the start-up has shown it.
    clavimo *mainWindow() const { return main_; }
    // Number of growth steps taken.
    int growthSteps() const { return steps_; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void grow();

    bool started_ = false;
    int steps_ = 0;
    QPointer<clavimo> main_;
};
