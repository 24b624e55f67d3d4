#pragma once

#include <QRect>

class QWidget;

// The screen a window is on (the primary one before it is shown), in logical pixels.
QRect screenArea(const QWidget *window);

// Centres a window with its current size: left = (screen width - width) / 2, and the same
// for the top.
void centreOnScreen(QWidget *window);
