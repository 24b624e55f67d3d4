// Guards the splash's growth, by the program or inside a window a compositor placed, and
// what differs under a compositor (Wayland): which platforms those are, and no activation
// asked for a window behind one of the program's modal windows.
#include "game/session/GameSession.h"
#include "support/TestDoubles.h"
#include "ui/ActivationRequests.h"
#include "ui/Screen.h"
#include "ui/SplashWindow.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

// At each move of the splash picture: the growing area, the window's size, and how far the
// picture's centre is from the window's; a click on the picture once the area is clickAt wide.
struct GrowthWatch : QObject
{
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *picture = static_cast<QWidget *>(watched);
        if (event->type() != QEvent::Move || !picture->isVisible()) // not the move sent as it shows
            return false;
        QWidget *area = picture->parentWidget(), *window = picture->window();
        areas << (area->isWindow() ? area->rect() : area->geometry());
        windows << window->size();
        worstOffset = std::max(worstOffset, (picture->mapTo(window, picture->rect().center()) - window->rect().center()).manhattanLength());
        if (clickAt > 0 && area->width() >= clickAt && !std::exchange(clicked, true)) {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(picture, &press);
        }
        return false;
    }
    QList<QRect> areas;
    QList<QSize> windows;
    int worstOffset = 0, clickAt = 0;
    bool clicked = false;
};

class TestCompositor : public QObject
{
    Q_OBJECT

private slots:
    void placingPlatforms()
    {
        for (const char *name : {"xcb", "windows", "cocoa", "offscreen", "wayland", "wayland-egl"})
            QVERIFY2(programPlacesWindows(QLatin1String(name)) != QByteArray(name).startsWith("wayland"), name);
    }

    // One twip of height and 1.33 of width a step, centred, up to the picture's width or a
    // click; under a compositor the window keeps its final size and the growth lasts as
    // long as the window's own under X11. Rows: placed by the compositor, click at, least ms.
    void splashGrows()
    {
        for (const auto &[byCompositor, clickAt, minimumMs] : {std::tuple{false, 0, 0}, {true, 0, 500}, {false, 50, 0}}) {
            TestServices ts;
            GameSession session(ts.services());
            SplashWindow splash(session, byCompositor ? SplashWindow::Placement::ByCompositor : SplashWindow::Placement::ByProgram);
            auto *picture = splash.findChild<QLabel *>(QStringLiteral("picture"));
            GrowthWatch watch;
            watch.clickAt = clickAt;
            picture->installEventFilter(&watch);
            QSignalSpy finished(&splash, &SplashWindow::finished);
            QElapsedTimer clock;
            clock.start();
            splash.show(); // runs the pending events, the growth among them
            QVERIFY(!finished.isEmpty() || finished.wait(5000));
            QVERIFY2(clock.elapsed() >= minimumMs, qPrintable(QString::number(clock.elapsed())));
            const QSize last = picture->parentWidget()->size();
            QCOMPARE(last.width(), clickAt > 0 ? clickAt : picture->width());
            QVERIFY(qAbs(last.height() - last.width() / 1.33) <= 1);
            QVERIFY(watch.areas.size() > (clickAt > 0 ? 30 : 200));
            QVERIFY2(watch.worstOffset <= 2, qPrintable(QString::number(watch.worstOffset)));
            for (int i = 0; i < watch.areas.size(); ++i)
                QCOMPARE(watch.windows[i], byCompositor ? splash.size() : watch.areas[i].size());
        }
    }

    // The window asked to be activated when one takes the focus (as a late focus change
    // from the compositor would give it), instead of the platform plugin's request at every
    // focus change. Rows: a box open over the main window, the box focused, the window asked.
    void activationRequests()
    {
        for (const auto &[boxOpen, focusBox, wanted] : {std::tuple{false, false, "main"}, {true, false, ""}, {true, true, "box"}}) {
            int pluginRequests = 0; // what the platform plugin connects, to be removed
            QMetaObject::Connection plugin = connect(qApp, &QGuiApplication::focusObjectChanged, qApp, [&] { ++pluginRequests; });
            QStringList asked;
            ActivationRequests requests([&asked](QWindow *window) { asked << window->objectName(); });
            QWidget main, elsewhere;
            QDialog box(&main);
            box.setModal(true);
            for (QWidget *w : {&main, static_cast<QWidget *>(&box)}) {
                if (w == &box && !boxOpen)
                    break;
                w->show();
                w->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(w));
                w->windowHandle()->setObjectName(w == &main ? "main" : "box");
            }
            QWidget *target = focusBox ? static_cast<QWidget *>(&box) : &main;
            if (target->isActiveWindow()) { // the focus goes away first, so that it comes back
                elsewhere.show();
                elsewhere.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
            }
            asked.clear();
            target->activateWindow();
            QVERIFY(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == target->windowHandle(); }));
            QTest::qWait(20);
            QCOMPARE(asked.join(','), QString::fromLatin1(wanted));
            QCOMPARE(pluginRequests, 0);
            disconnect(plugin);
        }
    }
};

QTEST_MAIN(TestCompositor)
#include "tst_compositor.moc"
