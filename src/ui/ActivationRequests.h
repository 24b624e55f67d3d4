#pragma once

#include <QObject>

#include <functional>

class QWindow;

// Under a Wayland compositor, Qt's platform plugin (Qt 6.4) asks the compositor to activate
// the focused window every time the focused widget changes, twice for each window that
// takes the focus. The compositor has given that window the focus already, unless the
// change comes late: when one of the program's boxes opens just as the window behind it
// gets the focus back (a box right after another, or after the player list), the request
// arrives once the box has the focus, and the compositor marks the window behind as
// urgent. This object takes the place of those requests: it asks once for each window
// that takes the focus, and never for a window while one of the program's modal windows
// (a box, a dialog) is open over it.
class ActivationRequests : public QObject
{
    Q_OBJECT

public:
    // request: how a window is asked to be activated (QWindow::requestActivate unless a
    // test watches the requests).
    explicit ActivationRequests(std::function<void(QWindow *)> request = {}, QObject *parent = nullptr);

    // Whether a window that takes the focus may be asked to be activated: not while a
    // modal window other than itself is open.
    static bool mayActivate(const QWindow *window);

private:
    void focusWindowChanged(QWindow *window);

    std::function<void(QWindow *)> request_;
};
