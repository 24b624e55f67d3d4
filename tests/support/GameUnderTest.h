#pragma once

#include "app/GameApplication.h"
#include "support/TestDoubles.h"
#include "ui/Announcer.h"
#include "ui/MainWindow.h"

#include <QAccessible>
#include <QObject>
#include <QTest>

#include <memory>

// The sentences screen readers are told to speak: the name of each notification of the
// window's announcements as it appears (a screen reader speaks it then).
struct Announcements : QObject
{
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(watched);
        if (event->type() == QEvent::Show && iface->role() == QAccessible::Notification && iface->parent()->role() == QAccessible::StatusBar)
            said << iface->text(QAccessible::Name);
        return false;
    }
    QStringList said;
};

// The whole program with test doubles for its services, in a scratch folder of its own,
// for the tests that drive its windows. A test class derives from it and calls setUpGame()
// (again for a fresh program) and tearDownGame(); its helpers are not slots, so QTest does
// not take them for tests.
class GameUnderTest : public QObject
{
protected:
    std::unique_ptr<ScratchFolder> folder;
    std::unique_ptr<TestServices> ts;
    std::unique_ptr<GameApplication> app;
    MainWindow *main = nullptr;
    Announcements announcements;
    QStringList &announced = announcements.said;

    // A new game application; the hand-over window waits 1 ms before it lets a key close it.
    void setUpGame()
    {
        tearDownGame();
        folder = std::make_unique<ScratchFolder>();
        ts = std::make_unique<TestServices>();
        app = std::make_unique<GameApplication>(ts->services());
        app->setHandOverWait(1);
    }

    void tearDownGame()
    {
        app.reset();
        ts.reset();
        folder.reset();
        main = nullptr;
    }

    QString said(const char *label) const { return QAccessible::queryAccessibleInterface(main->findChild<QWidget *>(label))->text(QAccessible::Name); }
    // Starts the program and waits for its main window to be active; false when the
    // program ended instead or the window never came.
    bool startGame()
    {
        app->start();
        if (!QTest::qWaitFor([&] { return app->mainWindow() || ts->end.ended; }, 5000) || ts->end.ended)
            return false;
        main = app->mainWindow();
        announced.clear();
        for (QWidget *note : main->findChild<Announcer *>()->findChildren<QWidget *>())
            note->installEventFilter(&announcements);
        main->activateWindow();
        return QTest::qWaitForWindowActive(main);
    }
};
