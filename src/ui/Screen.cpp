#include "ui/Screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

const QScreen *screenOf(const QWidget *window)
{
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}

} // namespace

QRect screenArea(const QWidget *window)
{
    const QScreen *screen = screenOf(window);
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

QRect availableArea(const QWidget *window)
{
    const QScreen *screen = screenOf(window);
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void centreOnScreen(QWidget *window)
{
    const QRect s = screenArea(window);
    window->move(s.x() + (s.width() - window->width()) / 2, s.y() + (s.height() - window->height()) / 2);
}

QMargins frameMargins(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    if (window->isVisible() && frame != inner)
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                        frame.bottom() - inner.bottom());
    // Window managers draw their title bars in device pixels, so the guess is in device
    // pixels too: a title bar of 32 and borders of 4.
    const double ratio = std::max(1.0, window->devicePixelRatioF());
    const int border = int(4 / ratio + 1);
    return QMargins(border, int(32 / ratio + 1), border, border);
}

void fitOnScreen(QWidget *window)
{
    const QRect area = availableArea(window);
    const QMargins frame = frameMargins(window);
    const QSize room = area.marginsRemoved(frame).size();
    const QSize size = window->size().boundedTo(room).expandedTo(window->minimumSize());
    if (size != window->size())
        window->resize(size);
    const QRect outer = QRect(window->pos(), size + QSize(frame.left() + frame.right(), frame.top() + frame.bottom()));
    QPoint at = outer.topLeft();
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
    if (at != outer.topLeft())
        window->move(at);
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
