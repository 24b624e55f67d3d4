#pragma once

#include <QMargins>
#include <QRect>
#include <QString>

class QWidget;

// The screen a window is on (the primary one before it is shown), in logical pixels.
QRect screenArea(const QWidget *window);

// The part of that screen windows may take (without the desktop's panels), in logical
// pixels.
QRect availableArea(const QWidget *window);

// Centres a window with its current size: left = (screen width - width) / 2, and the same
// for the top.
void centreOnScreen(QWidget *window);

// The window manager's frame around a window: the real one once the window is shown, before
// that a generous guess (a title bar and thin borders), so that a window sized with it fits.
QMargins frameMargins(const QWidget *window);

// Shrinks a window, frame included, to the available area when it is larger, and moves it
// inside that area when part of it is out; a window that fits is left as it is.
void fitOnScreen(QWidget *window);

// Whether the program places its own windows on the screen, as under X11, Windows and
// macOS, for the running platform or for the one named. A Wayland compositor places every
// window itself and ignores a move, and it also decides which window has the focus.
bool programPlacesWindows();
bool programPlacesWindows(const QString &platformName);
