#pragma once

#include "app/GameApplication.h"
#include "support/TestDoubles.h"
#include "ui/Announcer.h"
#include "ui/MainWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// Types text into a widget as real key presses with their characters, non-ASCII included.
inline void typeText(QWidget *target, const QString &text)
{
    for (QChar c : text)
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(target, &event);
        }
}

// Runs `action` on the next modal window as soon as it is open (from inside its event
// loop), for driving dialogs shown with exec().
inline void whenModal(std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer(qApp);
    timer->start(5);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, action] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
}

// The sentences screen readers are told to speak: the name of each notification of the
// announcements under `widget` as it appears (a screen reader speaks it then).
struct Announcements : QObject
{
    void listen(QWidget *widget)
    {
        for (QWidget *note : widget->findChild<Announcer *>()->findChildren<QWidget *>())
            note->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(watched);
        if (event->type() == QEvent::Show && iface->role() == QAccessible::Notification
            && iface->parent()->role() == QAccessible::StatusBar)
            said << iface->text(QAccessible::Name);
        return false;
    }
    QStringList said;
};

// The whole program with test doubles for its services, in a scratch folder of its own,
// for the tests that drive its windows. A test class derives from it and calls setUpGame()
// (again for a fresh program); its helpers are not slots, so QTest does not take them for tests.
class GameUnderTest : public QObject
{
protected:
    std::unique_ptr<ScratchFolder> folder;
    std::unique_ptr<TestServices> ts;
    std::unique_ptr<GameApplication> app;
    MainWindow *main = nullptr;

    // A new game application; the hand-over window waits 1 ms before it lets a key close it.
    void setUpGame()
    {
        app.reset();
        folder.reset(); // back in the first folder before a new one is entered
        folder = std::make_unique<ScratchFolder>();
        ts = std::make_unique<TestServices>();
        app = std::make_unique<GameApplication>(ts->services());
        app->setHandOverWait(1);
    }

    // Starts the program and waits for its main window to be active; false when the
    // program ended instead or the window never came.
    bool startGame()
    {
        app->start();
        if (!QTest::qWaitFor([&] { return app->mainWindow() || ts->end.ended; }, 5000) || ts->end.ended)
            return false;
        main = app->mainWindow();
        main->activateWindow();
        return QTest::qWaitForWindowActive(main);
    }
};
