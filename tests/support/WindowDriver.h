#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

// Types text into a widget as real key presses with their characters, non-ASCII included.
inline void typeText(QWidget *target, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

// Runs `action` on the next modal window as soon as it is open (from inside its event
// loop), for driving dialogs shown with exec().
inline void whenModal(std::function<void(QWidget *)> action, QObject *context = qApp)
{
    auto *timer = new QTimer(context);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, context, [timer, action] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
    timer->start();
}
