#include "ui/Screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QRect screenArea(const QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

void centreOnScreen(QWidget *window)
{
    const QRect s = screenArea(window);
    window->move(s.x() + (s.width() - window->width()) / 2, s.y() + (s.height() - window->height()) / 2);
}

bool programPlacesWindows()
{
    return programPlacesWindows(QGuiApplication::platformName());
}

bool programPlacesWindows(const QString &platformName)
{
    // Qt's Wayland platforms are "wayland" and its variants ("wayland-egl", ...).
    return !platformName.startsWith(QLatin1String("wayland"));
}
