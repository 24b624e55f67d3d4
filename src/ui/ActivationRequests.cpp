#include "ui/ActivationRequests.h"

#include <QGuiApplication>
#include <QWindow>

ActivationRequests::ActivationRequests(std::function<void(QWindow *)> request, QObject *parent)
    : QObject(parent)
    , request_(request ? std::move(request) : [](QWindow *window) { window->requestActivate(); })
{
    // The plugin's request is a function connected to the application's focus changes
    // with the application as its context; this removes it (Qt connects nothing else so,
    // and neither does the program).
    disconnect(qApp, &QGuiApplication::focusObjectChanged, qApp, nullptr);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &ActivationRequests::focusWindowChanged);
}

bool ActivationRequests::mayActivate(const QWindow *window)
{
    const QWindow *modal = QGuiApplication::modalWindow();
    return window && (!modal || modal == window);
}

void ActivationRequests::focusWindowChanged(QWindow *window)
{
    if (mayActivate(window))
        request_(window);
}
