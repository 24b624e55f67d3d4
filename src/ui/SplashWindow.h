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
    // Who places the window. The program grows the window itself, centring it at every
    // step. A compositor (Wayland) places windows itself, and a tiling one sizes them too:
    // there the window has its final size from the start, and a frame inside it grows
    // centred with the same steps, the rest of the window see-through.
    enum class Placement { ByProgram, ByCompositor };

    explicit SplashWindow(GameSession &session, Placement placement = defaultPlacement(),
                          QWidget *parent = nullptr);

    // The placement of the running platform.
    static Placement defaultPlacement();

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
    Placement placement_;
    // What grows: the window itself, or the frame inside it when the compositor places
    // the window.
    QWidget *area_ = nullptr;
    QLabel *picture_ = nullptr;
    float splashSize_ = 0;
    bool growing_ = false;
    bool started_ = false;
    int steps_ = 0;
};
