// Guards the parts of the windows that need no running game: the main window's proportional
// re-layout, the drawn pictures, the keyboard map's colours, the About window, the
// hand-over window's wait, the splash's growth, and what differs under a compositor.
#include "game/session/GameSession.h"
#include "support/TestDoubles.h"
#include "ui/AboutWindow.h"
#include "ui/ActivationRequests.h"
#include "ui/Artwork.h"
#include "ui/Faces.h"
#include "ui/HandOverWindow.h"
#include "ui/KeyboardMapView.h"
#include "ui/MainLayout.h"
#include "ui/Screen.h"
#include "ui/SplashWindow.h"

#include <QtTest>
#include <QtWidgets>

#include <cmath>
#include <ctime>

namespace {

constexpr float kW0 = 9720, kH0 = 7440; // outer size of the main window as designed

// The first control whose values are not all within `relative` of the wanted ones, or -1.
int firstApart(const MainGeometry &actual, const MainGeometry &wanted, double relative)
{
    for (int c = 0; c < kMainControlCount; ++c)
        for (float ControlGeometry::*v : {&ControlGeometry::left, &ControlGeometry::top, &ControlGeometry::width, &ControlGeometry::height, &ControlGeometry::fontSize})
            if (std::abs(actual[c].*v - wanted[c].*v) > relative * std::max(1.0f, std::abs(wanted[c].*v)))
                return c;
    return -1;
}

QImage image(const QPixmap &pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_ARGB32); }

// A colour in CIE L*a*b* (D65 white).
std::array<double, 3> lab(const QColor &colour)
{
    auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const double r = linear(colour.redF()), g = linear(colour.greenF()), b = linear(colour.blueF());
    auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : t / 0.128418 + 4.0 / 29.0; };
    const double x = f((0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047), y = f(0.2126 * r + 0.7152 * g + 0.0722 * b);
    const double z = f((0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883);
    return {116 * y - 16, 500 * (x - y), 200 * (y - z)};
}

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

} // namespace

class TestWindowParts : public QObject
{
    Q_OBJECT

    TestServices services;
    int scroll = 0;
    static QString text(QWidget &w, const char *label) { return w.findChild<QLabel *>(QLatin1String(label))->text(); }

private slots:
    // From the reference (refW, refH) to (w, h): left and width by w / refW, top and height
    // by h / refH, fonts by the width's ratio; the logo keeps its size.
    void layoutScalesFromTheReference()
    {
        for (const auto &[refW, refH, w, h] : {std::array{9690.f, 7365.f, 9690.f, 7365.f}, {kW0, kH0, 19320, 15630}, {kW0, kH0, kW0, 2 * kH0}, {kW0, kH0, 9731.25f, 7452.5f}}) {
            LayoutReference ref = layoutReferenceAt(refW, refH);
            MainGeometry g = mainDesignGeometry(), wanted = mainDesignGeometry();
            QVERIFY(scaleMainLayout(g, ref, w, h, false));
            QCOMPARE(ref.designHeight, qint32(std::nearbyint(h)));
            const double rw = double(w) / refW, rh = double(h) / refH;
            for (int c = 0; c < kMainControlCount; ++c) {
                const bool logo = c == int(MainControl::Logo);
                ControlGeometry &x = wanted[c];
                x = {float(x.left * rw), float(x.top * rh), float(x.width * (logo ? 1 : rw)), float(x.height * (logo ? 1 : rh)), float(x.fontSize * rw)};
            }
            QCOMPARE(firstApart(g, wanted, 1e-6), -1);
        }
        // The copies take their source's values once it is scaled; the game's average keeps its own place.
        MainGeometry g = mainDesignGeometry();
        const auto copies = {MainControl::AbsoluteAverage, MainControl::PersonalMini, MainControl::PersonalAverage};
        for (MainControl c : copies)
            at(g, c).fontSize = 14;
        at(g, MainControl::GameAverage) = {100, 5000, 1000, 500, 20};
        LayoutReference ref = layoutReferenceAt(kW0, kH0);
        QVERIFY(scaleMainLayout(g, ref, 19320, 15630, false));
        for (MainControl c : copies)
            QCOMPARE(at(g, c).fontSize, at(g, MainControl::AbsoluteMini).fontSize);
        const ControlGeometry &mini = at(g, MainControl::GameMini), &average = at(g, MainControl::GameAverage);
        QVERIFY(average.height == mini.height && average.width == mini.width && average.fontSize == mini.fontSize);
        QVERIFY(average.left == float(100 * ref.widthRatio) && average.top == float(5000 * ref.heightRatio));
    }

    // A -> B -> C lays out as A -> C; a minimized or zero-high B changes nothing. Rows:
    // B's width, height and minimized, then C's width and height.
    void layoutChainedEqualsDirect()
    {
        for (const auto &[bW, bH, bMinimized, cW, cH] : {std::array{19320.f, 15630.f, 0.f, kW0, kH0}, {4860, 3720, 0, 14580, 11160}, {kW0, 40000, 0, kW0, kH0},
                                                          {kW0, 40000, 0, kW0, 70000}, {2400, 450, 1, kW0, kH0}, {kW0, 0, 0, kW0, kH0}}) {
            MainGeometry chained = mainDesignGeometry(), direct = mainDesignGeometry();
            LayoutReference chainedRef = layoutReferenceAt(kW0, kH0), directRef = chainedRef;
            const bool ignored = bMinimized > 0 || bH == 0;
            QCOMPARE(scaleMainLayout(chained, chainedRef, bW, bH, bMinimized > 0), !ignored);
            QVERIFY(!ignored || firstApart(chained, mainDesignGeometry(), 0) == -1);
            QVERIFY(scaleMainLayout(chained, chainedRef, cW, cH, false) && scaleMainLayout(direct, directRef, cW, cH, false));
            QCOMPARE(firstApart(chained, direct, 1e-5), -1);
            QVERIFY(chainedRef.designWidth == directRef.designWidth && chainedRef.designHeight == directRef.designHeight);
        }
    }

    // The sizes asked for, something drawn, the splash opaque, the decorations on a
    // see-through surround, and each installed icon size repeating the 16 or 32 picture's pixels.
    void pictures()
    {
        for (const auto &[picture, size, opaque] : {std::tuple{splashPicture(), 243, true}, {programIconPixmap(16), 16, true}, {programIconPixmap(40), 32, true},
                                                    {programIconPixmap(2048), 32, true}, {playersIcon(), 32, false}, {handOverIcon(), 32, false}}) {
            const QImage drawn = image(picture);
            QCOMPARE(drawn.width(), size);
            QImage plain(drawn.size(), drawn.format());
            plain.fill(drawn.pixel(0, 0));
            QVERIFY(drawn != plain && (qAlpha(drawn.pixel(size - 1, 0)) == 255) == opaque);
        }
        QVERIFY(programIconSizes().contains(16) && programIconSizes().contains(256));
        for (int size : programIconSizes()) {
            QCOMPARE(image(programIconPixmap(size)), image(programIconPixmap(size % 32 ? 16 : 32)).scaled(size, size));
            QVERIFY(programIcon().availableSizes().contains(QSize(size, size)));
        }
    }

    // The map darker at every step up to the darkest rate, the same above it; a key never
    // due lighter still; the writing standing out from its fill; the legend's grades apart
    // in lightness and blue-yellow alone, all that a player who does not tell red from green sees.
    void mapColours()
    {
        double previous = lab(KeyboardMapView::colourFor(-1))[0];
        for (int step = 0; step <= 100; ++step) {
            const QColor fill = KeyboardMapView::colourFor(KeyboardMapView::kDarkestRate * step / 100.0);
            QVERIFY2(lab(fill)[0] < previous, qPrintable(QString::number(step)));
            previous = lab(fill)[0];
            QVERIFY(step % 10 || std::abs(previous - lab(KeyboardMapView::textColourOn(fill))[0]) > 45);
        }
        QCOMPARE(KeyboardMapView::colourFor(0.5), KeyboardMapView::colourFor(KeyboardMapView::kDarkestRate));
        QVERIFY(lab(KeyboardMapView::colourFor(0))[0] - previous > 60);
        const double d = KeyboardMapView::kDarkestRate, grades[] = {-1, 0, d / 4, d / 2, 3 * d / 4, d};
        for (int i = 0; i + 1 < 6; ++i) {
            const auto from = lab(KeyboardMapView::colourFor(grades[i])), to = lab(KeyboardMapView::colourFor(grades[i + 1]));
            QVERIFY2(std::hypot(from[0] - to[0], from[2] - to[2]) > 15, qPrintable(QString::number(i)));
        }
    }

    // The About window: the program file's date in French; the line scrolls a character a
    // tick and comes round, the faces take turns, the next window goes on from where this
    // one left the line; Escape and Enter close it and stop the animation.
    void aboutWindow()
    {
        QCOMPARE(AboutWindow::dateCaption(QDateTime(QDate(2020, 8, 3), QTime(9, 5, 7))) + '|' + AboutWindow::dateCaption(QDateTime(QDate(1999, 12, 31), QTime(0, 59, 9))) + '|' + AboutWindow::dateCaption({}),
                 "3 Août 2020 09:05:07|31 Décembre 1999 00:59:09|");
        QStringList texts;
        QList<int> faces;
        {
            AboutWindow w(services.boxes, services.shell, scroll);
            QCOMPARE(text(w, "date"), AboutWindow::dateCaption(QFileInfo(QCoreApplication::applicationFilePath()).lastModified()));
            QCOMPARE(w.findChild<QTimer *>()->interval(), 120);
            for (int i = 0; i < 24; ++i, w.animate()) {
                texts << text(w, "authorLine");
                faces << 0;
                for (int face = 1; face <= kFaceCount; ++face)
                    faces.last() = w.findChild<QLabel *>("face")->pixmap().toImage() == facePixmap(face).toImage() ? face : faces.last();
            }
        }
        QCOMPARE(faces.first(7), (QList<int>{1, 3, 4, 5, 1, 2, 3}));
        QCOMPARE(texts[1] + '|' + texts[2] + '|' + texts[12], "© 2026 Équipe Clavimo  | 2026 Équipe Clavimo  ©|pe Clavimo  © 2026 Équi");
        AboutWindow next(services.boxes, services.shell, scroll);
        next.animate();
        QCOMPARE(text(next, "authorLine"), texts[2]);
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_A}) {
            AboutWindow w(services.boxes, services.shell, scroll);
            w.show();
            QTest::keyClick(w.focusWidget(), key);
            QVERIFY2(w.isVisible() == (key == Qt::Key_A) && w.findChild<QTimer *>()->isActive() == w.isVisible(), qPrintable(QString::number(key)));
        }
    }

    // The addresses open in the system's handler, then the fallback, then a box only when both failed.
    void aboutAddresses()
    {
        AboutWindow w(services.boxes, services.shell, scroll);
        w.show();
        const QString web = QStringLiteral("http://www.example.org/clavimo/");
        QTest::mouseClick(w.findChild<QLabel *>("mailAddress"), Qt::LeftButton);
        QTest::mouseClick(w.findChild<QLabel *>("webAddress"), Qt::LeftButton);
        QCOMPARE(services.shell.opened, (QStringList{"mailto:clavimo@example.org?subject=Clavimo_2.0.20", web}));
        services.shell.openSucceeds = false;
        QTest::mouseClick(w.findChild<QLabel *>("webAddress"), Qt::LeftButton);
        QVERIFY(services.shell.fallbacks == QStringList{web} && services.boxes.shown.isEmpty());
        services.shell.fallbackSucceeds = false;
        QTest::mouseClick(w.findChild<QLabel *>("webAddress"), Qt::LeftButton);
        QVERIFY2(services.boxes.last().endsWith("échec simulé du second essai | Problème Start | Ok | Exclamation"), qPrintable(services.boxes.last()));
    }

    // The hand-over window names the next player, whole, when there is one, and closes after
    // its wait without busy waiting, or at once when closed by hand. Rows: the next player,
    // and whether the title-bar close ends a long wait (else the real two seconds run out).
    void handOverWaits()
    {
        for (const auto &[next, byHand] : {std::pair{QString(), true}, {QStringLiteral("Marie-Charlotte-Eugénie"), false}}) {
            HandOverWindow w(next, byHand ? 10000 : 2000);
            const QString caption = text(w, "nextPlayer");
            QVERIFY(caption.isEmpty() == next.isEmpty() && caption.endsWith(next));
            QTimer::singleShot(byHand ? 100 : 8000, &w, [&w] { w.close(); }); // a stuck window fails the time check
            const std::clock_t cpuBefore = std::clock();
            QElapsedTimer wall;
            wall.start();
            w.exec();
            const qint64 ms = wall.elapsed(), cpuMs = (std::clock() - cpuBefore) * 1000 / CLOCKS_PER_SEC;
            QVERIFY2(byHand ? ms < 1000 : ms >= 1900 && ms <= 3000, qPrintable(QString::number(ms)));
            QVERIFY2(cpuMs < 150, qPrintable(QString("%1 ms busy in %2 ms").arg(cpuMs).arg(ms)));
            QVERIFY(!w.findChild<QTimer *>()->isActive() && w.result() == int(byHand ? QDialog::Rejected : QDialog::Accepted));
        }
    }

    // The splash grows one twip of height and 1.33 of width a step, centred, up to the
    // picture's width or a click; under a compositor (Wayland platforms only) the window keeps
    // its final size and the growth lasts as long as the window's own under X11. Rows:
    // placed by the compositor, click at, least ms.
    void splashGrows()
    {
        for (const char *name : {"xcb", "windows", "cocoa", "offscreen", "wayland", "wayland-egl"})
            QVERIFY2(programPlacesWindows(QLatin1String(name)) != QByteArray(name).startsWith("wayland"), name);
        for (const auto &[byCompositor, clickAt, minimumMs] : {std::tuple{false, 0, 0}, {true, 0, 500}, {false, 50, 0}}) {
            GameSession session(services.services());
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
            QVERIFY(qAbs(last.height() - last.width() / 1.33) <= 1 && watch.areas.size() > (clickAt > 0 ? 30 : 200));
            QVERIFY2(watch.worstOffset <= 2, qPrintable(QString::number(watch.worstOffset)));
            for (int i = 0; i < watch.areas.size(); ++i)
                QCOMPARE(watch.windows[i], byCompositor ? splash.size() : watch.areas[i].size());
        }
    }

    // Under a compositor the window is asked to be activated when one takes the focus (as a
    // late focus change from the compositor would give it), instead of the platform plugin's
    // request at every focus change. Rows: a box open over the main window, the box
    // focused, the window asked.
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
            QVERIFY2(asked.join(',') == QLatin1String(wanted) && pluginRequests == 0, qPrintable(asked.join(',')));
            disconnect(plugin);
        }
    }
};

QTEST_MAIN(TestWindowParts)
#include "tst_window_parts.moc"
