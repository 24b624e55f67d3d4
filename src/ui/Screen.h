#pragma once

#include <QRect>
#include <QString>

class QWidget;

// The screen a window is on (the primary one before it is shown), in logical pixels.
QRect screenArea(const QWidget *window);

// Centres a window with its current size: left = (screen width - width) / 2, and the same
// for the top.
void centreOnScreen(QWidget *window);

// Whether the program places its own windows on the screen, as under X11, Windows and
// macOS, for the running platform or for the one named. A Wayland compositor places every
// window itself and ignores a move, and it also decides which window has the focus.
bool programPlacesWindows();
bool programPlacesWindows(const QString &platformName);
