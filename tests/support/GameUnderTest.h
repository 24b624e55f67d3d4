#pragma once

#include "app/GameApplication.h"
#include "support/TestDoubles.h"
#include "ui/MainWindow.h"

#include <QObject>
#include <QTest>

#include <memory>

// The whole program with test doubles for its services, in a scratch folder of its own,
// for the tests that drive its windows. A test class derives from it, calls setUpGame()
// from init() and tearDownGame() from cleanup(); its helpers are not slots, so QTest
// does not take them for tests.
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
