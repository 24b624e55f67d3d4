// Guards what the program does where a compositor places and focuses the windows (Wayland): which platforms those are, the splash picture growing centred inside a window of its final size, and no activation asked for a window behind one of the program's modal windows.
#include "game/GameSession.h"
#include "support/TestDoubles.h"
#include "ui/ActivationRequests.h"
#include "ui/Screen.h"
#include "ui/SplashWindow.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

namespace {

// Each size the growing area takes, where it stands in the window, and the window's size
// then.
struct GrowthWatch : QObject
{
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *area = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Resize) {
            areas << (area->isWindow() ? QRect(QPoint(0, 0), area->size()) : area->geometry());
            windows << area->window()->size();
        }
        return false;
    }
    QList<QRect> areas;
    QList<QSize> windows;
};

} // namespace

class TestCompositor : public QObject
{
    Q_OBJECT

private slots:
    void placingPlatforms_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("programPlaces");
        QTest::newRow("X11") << "xcb" << true;
        QTest::newRow("Windows") << "windows" << true;
        QTest::newRow("macOS") << "cocoa" << true;
        QTest::newRow("offscreen") << "offscreen" << true;
        QTest::newRow("Wayland") << "wayland" << false;
        QTest::newRow("Wayland with EGL") << "wayland-egl" << false;
    }
    void placingPlatforms()
    {
        QFETCH(QString, platform);
        QTEST(programPlacesWindows(platform), "programPlaces");
    }

    // The same steps either way, as wide as the picture at the end; under a compositor
    // the window keeps its final size, the frame grows centred inside it, and the growth
    // takes as long as the window's under X11.
    void splashGrowsCentred_data()
    {
        QTest::addColumn<bool>("byCompositor");
        QTest::addColumn<int>("minimumMs");
        QTest::newRow("the program places the window") << false << 0;
        QTest::newRow("the compositor places the window") << true << 500;
    }
    void splashGrowsCentred()
    {
        QFETCH(bool, byCompositor);
        QFETCH(int, minimumMs);
        const auto placement = byCompositor ? SplashWindow::Placement::ByCompositor : SplashWindow::Placement::ByProgram;
        ScratchFolder folder;
        TestServices ts;
        GameSession session(ts.services());
        SplashWindow splash(session, placement);
        GrowthWatch watch;
        splash.growingArea()->installEventFilter(&watch);
        QSignalSpy finished(&splash, &SplashWindow::finished);
        QElapsedTimer clock;
        clock.start();
        splash.show();
        // Showing a splash window runs the pending events, the growth among them.
        QVERIFY(!finished.isEmpty() || finished.wait(5000));
        const qint64 ms = clock.elapsed();

        QCOMPARE(splash.growthSteps(), 2782);
        const QSize last = splash.growingArea()->size();
        QCOMPARE(last.width(), splash.findChild<QLabel *>(QStringLiteral("picture"))->width());
        QVERIFY(qAbs(last.height() - last.width() / 1.33) <= 1);
        QVERIFY2(ms >= minimumMs, qPrintable(QString::number(ms)));
        QVERIFY(watch.areas.size() > 200);
        for (int i = 0; i < watch.areas.size(); ++i) {
            const QRect area = watch.areas[i];
            const QSize window = watch.windows[i];
            QCOMPARE(window, byCompositor ? last : area.size());
            QVERIFY2(qAbs(2 * area.x() + area.width() - window.width()) <= 1
                         && qAbs(2 * area.y() + area.height() - window.height()) <= 1,
                     qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6")
                                    .arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height())
                                    .arg(window.width()).arg(window.height())));
        }
    }

    // focused: the window that gets the focus (as a late focus change from the compositor
    // would give it); asked: the window asked to be activated, if any.
    void activationRequests_data()
    {
        QTest::addColumn<bool>("boxOpen");
        QTest::addColumn<QString>("focused");
        QTest::addColumn<QString>("asked");
        QTest::newRow("main window, nothing open") << false << "main" << "main";
        QTest::newRow("main window behind a box") << true << "main" << "";
        QTest::newRow("the box itself") << true << "box" << "box";
    }
    void activationRequests()
    {
        QFETCH(bool, boxOpen);
        QFETCH(QString, focused);
        // What the platform plugin connects, to be removed: a request at every focus change.
        int pluginRequests = 0;
        QMetaObject::Connection plugin =
            connect(qApp, &QGuiApplication::focusObjectChanged, qApp, [&pluginRequests] { ++pluginRequests; });
        QStringList asked;
        ActivationRequests requests([&asked](QWindow *window) { asked << window->objectName(); });

        QWidget main;
        main.setObjectName(QStringLiteral("main"));
        main.setFocusPolicy(Qt::StrongFocus);
        main.show();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        main.windowHandle()->setObjectName(QStringLiteral("main"));
        QDialog box(&main);
        box.setModal(true);
        if (boxOpen) {
            box.show();
            box.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&box));
            box.windowHandle()->setObjectName(QStringLiteral("box"));
        }
        QWidget *target = focused == QLatin1String("main") ? &main : static_cast<QWidget *>(&box);
        QWidget elsewhere;
        if (target->isActiveWindow()) {
            // Take the focus away first, so that the window gets it again.
            elsewhere.show();
            elsewhere.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        }
        asked.clear();
        target->activateWindow();
        QVERIFY(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == target->windowHandle(); }));
        QTest::qWait(20);

        QTEST(asked.join(QLatin1Char(',')), "asked");
        QCOMPARE(pluginRequests, 0);
        disconnect(plugin);
    }
};

QTEST_MAIN(TestCompositor)
#include "tst_compositor.moc"
