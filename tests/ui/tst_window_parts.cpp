// Guards the windows and their parts that need no running game: the main window's
// re-layout, the drawn pictures and the map's colours, the About, hand-over and splash
// windows, what differs under a compositor, the player list dialog, the records list window
// and the progression window's keyboard panel.
#include "adapters/XkbKeyboards.h"
#include "game/keyboard/KeyboardLayouts.h"
#include "game/records/PlayerFile.h"
#include "game/session/GameSession.h"
#include "platform/Windows1252.h"
#include "support/EntryBytes.h"
#include "support/TestDoubles.h"
#include "ui/AboutWindow.h"
#include "ui/ActivationRequests.h"
#include "ui/Artwork.h"
#include "ui/Faces.h"
#include "ui/HandOverWindow.h"
#include "ui/KeyboardMapView.h"
#include "ui/KeyboardPanel.h"
#include "ui/MainLayout.h"
#include "ui/PlayerListDialog.h"
#include "ui/RecordsWindow.h"
#include "ui/Screen.h"
#include "ui/SplashWindow.h"

#include <QtTest>
#include <QtWidgets>

#include <cmath>
#include <ctime>
#include <functional>

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

// Row: the names of the player file ("_" a space; stray bytes follow them), the current
// players, and the words done on the dialog: "t:text" typed where the focus is, ret, ent,
// esc, up, down, "pick:name" chosen in the drop-down list with the keys, "dc:box" or
// "dc:N" a double-click on the name box or on the player N, clear (the box emptied),
// "focus:name" (the focus on that control), close, or a button clicked by name; "=" and
// the end say what is seen: the box's text, the players, the names offered, the message
// boxes' buttons and icon, and the dialog open, accepted (ok) or refused (no).
QString run(const QString &row)
{
    const QStringList p = row.split('|');
    TestServices services;
    ScratchFolder scratch;
    QByteArray bytes = kPlaceholders;
    for (const QString &name : p[0].split(' ', Qt::SkipEmptyParts))
        bytes += entryBytes(Windows1252::encode(QString(name).replace('_', ' ')), 9999, 9999);
    scratch.write(QStringLiteral("clvfic1.txt"), bytes + "ZZZZZZZZZZZZ");
    PlayerFile file;
    if (!file.open(QStringLiteral("clvfic1.txt")))
        return "no file";
    PlayerListDialog dlg(file, p[1].split(' ', Qt::SkipEmptyParts), services.boxes);
    auto *box = dlg.findChild<QComboBox *>();
    auto *list = dlg.findChild<QListWidget *>();
    QStringList seen;
    auto wait = [&seen](const std::function<bool()> &done) { seen << (QTest::qWaitFor(done) ? "" : "timed out"); };
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    wait([] { return QApplication::focusWidget(); });
    const QHash<QString, Qt::Key> keys{{"ret", Qt::Key_Return}, {"ent", Qt::Key_Enter}, {"esc", Qt::Key_Escape},
                                       {"up", Qt::Key_Up}, {"down", Qt::Key_Down}};
    for (const QString &word : (p[2] + " =").split(' ', Qt::SkipEmptyParts)) {
        const QString arg = word.section(':', 1).replace('_', ' ');
        QStringList boxes, offered;
        for (const ScriptedBoxes::Box &b : services.boxes.shown)
            boxes << b.toString().section(" | ", 2).remove(" | ");
        for (int i = 0; i < box->count(); ++i)
            offered << box->itemText(i);
        const QString state = dlg.isVisible() ? "open" : dlg.result() == QDialog::Accepted ? "ok" : "no";
        if (word == "=")
            seen << QStringList{box->currentText(), dlg.players().join(' '), offered.join(' '), boxes.join(','), state}.join('/');
        else if (word.startsWith("t:"))
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(0), arg, Qt::NoModifier);
        else if (keys.contains(word))
            QTest::keyClick(QApplication::focusWidget(), keys[word]);
        else if (word.startsWith("pick:")) {
            box->showPopup();
            wait([box] { return box->view()->isVisible(); });
            box->view()->setCurrentIndex(box->model()->index(box->findText(arg), 0));
            QTest::keyClick(box->view(), Qt::Key_Return);
            wait([box] { return !box->view()->isVisible(); });
        } else if (word == "dc:box") {
            QTest::mouseDClick(box->lineEdit(), Qt::LeftButton);
        } else if (word.startsWith("dc:")) { // the first click of a double-click selects
            list->setCurrentRow(arg.toInt());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->currentItem()).center());
        } else if (word == "clear") {
            box->setEditText(QString());
        } else if (word.startsWith("focus:")) {
            QWidget *to = dlg.findChild<QWidget *>(arg);
            to->setFocus();
            wait([to] { return to->hasFocus(); });
        } else if (word == "close") {
            dlg.close();
        } else {
            QTest::mouseClick(dlg.findChild<QPushButton *>(word), Qt::LeftButton);
        }
    }
    return seen.filter(QRegularExpression(".")).join(" = ");
}

} // namespace

class TestWindowParts : public QObject
{
    Q_OBJECT

    TestServices services;
    int scroll = 0;
    static QString text(QWidget &w, const char *label) { return w.findChild<QLabel *>(QLatin1String(label))->text(); }

private slots:
    // From the reference (refW, refH) to (w, h): left and width by w / refW, top and height
    // by h / refH, fonts by the width's ratio; the logo keeps its size; the copies take their
    // source's font once it is scaled, and the game's average the game's Mini's size in its own place.
    void layoutScalesFromTheReference()
    {
        for (const auto &[refW, refH, w, h] : {std::array{9690.f, 7365.f, 9690.f, 7365.f}, {kW0, kH0, 19320, 15630}, {kW0, kH0, kW0, 2 * kH0}, {kW0, kH0, 9731.25f, 7452.5f}}) {
            LayoutReference ref = layoutReferenceAt(refW, refH);
            MainGeometry g = mainDesignGeometry(), wanted = mainDesignGeometry();
            const auto copies = {MainControl::AbsoluteAverage, MainControl::PersonalMini, MainControl::PersonalAverage};
            for (MainControl c : copies)
                at(g, c).fontSize = 14;
            at(g, MainControl::GameAverage) = at(wanted, MainControl::GameAverage) = {100, 5000, 1000, 500, 20};
            QVERIFY(scaleMainLayout(g, ref, w, h, false));
            QCOMPARE(ref.designHeight, qint32(std::nearbyint(h)));
            const double rw = double(w) / refW, rh = double(h) / refH;
            for (int c = 0; c < kMainControlCount; ++c) {
                const bool logo = c == int(MainControl::Logo);
                ControlGeometry &x = wanted[c];
                x = {float(x.left * rw), float(x.top * rh), float(x.width * (logo ? 1 : rw)), float(x.height * (logo ? 1 : rh)), float(x.fontSize * rw)};
            }
            for (MainControl c : copies)
                at(wanted, c).fontSize = at(wanted, MainControl::AbsoluteMini).fontSize;
            const ControlGeometry &mini = at(wanted, MainControl::GameMini);
            ControlGeometry &average = at(wanted, MainControl::GameAverage);
            average = {average.left, average.top, mini.width, mini.height, mini.fontSize};
            QCOMPARE(firstApart(g, wanted, 1e-6), -1);
        }
        // A -> B -> C lays out as A -> C; a minimized or zero-high B changes nothing. Rows:
        // B's width, height and minimized, then C's width and height.
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
    // one left the line; Escape and Enter close it and stop the animation; its addresses.
    void aboutWindow()
    {
        QCOMPARE(AboutWindow::dateCaption(QDateTime(QDate(2020, 8, 3), QTime(9, 5, 7))) + '|' + AboutWindow::dateCaption(QDateTime(QDate(1999, 12, 31), QTime(0, 59, 9))) + '|' + AboutWindow::dateCaption({}),
                 "3 Août 2020 09:05:07|31 Décembre 1999 00:59:09|");
        QStringList texts;
        QList<int> faces;
        {
            AboutWindow w(services.boxes, services.shell, scroll);
            QCOMPARE(text(w, "date"), AboutWindow::dateCaption(QFileInfo(QCoreApplication::applicationFilePath()).lastModified()));
            auto *line = w.findChild<QLabel *>(QStringLiteral("authorLine"));
            for (int i = 0; i < 24; ++i, w.animate()) { // the scrolling line keeps one name
                texts << line->text();
                QCOMPARE(QAccessible::queryAccessibleInterface(line)->text(QAccessible::Name), "© 2026 Équipe Clavimo");
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
        // The addresses open in the system's handler, then the fallback, then a box only when both failed.
        next.show();
        const QString web = QStringLiteral("http://www.example.org/clavimo/");
        QTest::mouseClick(next.findChild<QLabel *>("mailAddress"), Qt::LeftButton);
        QTest::mouseClick(next.findChild<QLabel *>("webAddress"), Qt::LeftButton);
        QCOMPARE(services.shell.opened, (QStringList{"mailto:clavimo@example.org?subject=Clavimo_2.0.20", web}));
        services.shell.openSucceeds = false;
        QTest::mouseClick(next.findChild<QLabel *>("webAddress"), Qt::LeftButton);
        QVERIFY(services.shell.fallbacks == QStringList{web} && services.boxes.shown.isEmpty());
        services.shell.fallbackSucceeds = false;
        QTest::mouseClick(next.findChild<QLabel *>("webAddress"), Qt::LeftButton);
        QVERIFY2(services.boxes.last().endsWith("échec simulé du second essai | Problème Start | Ok | Exclamation"), qPrintable(services.boxes.last()));
    }

    // The hand-over window names the next player, whole, when there is one, and closes after
    // its wait without busy waiting, or at once when closed by hand. Rows: the next player,
    // and whether the title-bar close ends a long wait (else the real two seconds run out).
    void handOverWaits()
    {
        for (const auto &[next, byHand] : {std::pair{QString(), true}, {"Z", true}, {"Marie-Charlotte-Eugénie", false}}) {
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
            for (QWidget *w : boxOpen ? QList<QWidget *>{&main, &box} : QList<QWidget *>{&main}) {
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

    // The player list dialog, as rows.
    void playerList()
    {
        const char *rows[][2] = {
            // The names offered: case ignored, accents in their place, duplicates kept.
            {"zoé Paul __alice Émile Chloé Paul denis||", "//alice Chloé denis Émile Paul Paul zoé//open"},
            // Without players every way out is refused with a box; the help box leaves nothing.
            {"Anne||ok cancel esc close focus:cancel ret help", "//Anne/OkStop,OkStop,OkStop,OkStop,OkStop,OkInformation/open"},
            // A blank name adds nothing; the first Enter adds the name as names are shown, and
            // among the known ones; Enter on the same name again, typed otherwise, validates.
            {"Anne Zoé||t:___ ret t:__paul_ ret = t:PAUL ent", "Paul/Paul/Anne Paul Zoé//open = Paul/Paul/Anne Paul Zoé//ok"},
            {"Anne Zoé||t:an ret t:AN ent", "An/An/An Anne Zoé//ok"},
            {"Anne Zoé||t:anne ret t:ANNE ent", "Anne/Anne/Anne Zoé//ok"},
            // The first selection only comes into the box, a second of the same name adds it
            // once; a known name typed and left is no selection; the arrows browse without
            // adding; Enter adds the name shown, the next selection adds.
            {"Chloé Anne Bruno||pick:Bruno = pick:Chloé pick:Chloé clear t:Anne focus:players focus:nameBox up down down up = "
             "ret pick:Anne",
             "Bruno//Anne Bruno Chloé//open = Bruno/Chloé/Anne Bruno Chloé//open = Anne/Chloé Bruno Anne/Anne Bruno Chloé//open"},
            // A double-click on the box adds the name without making it known; on a player, removes it.
            {"|Anne Bruno Chloé|t:_marie-charlotte-EUGÉNIE_ dc:box = dc:1 ok",
             "Marie-charlotte-eugénie/Anne Bruno Chloé Marie-charlotte-eugénie///open = "
             "Marie-charlotte-eugénie/Anne Chloé Marie-charlotte-eugénie///ok"},
        };
        for (const auto &[row, wanted] : rows) {
            const QString found = run(QString::fromUtf8(row));
            QVERIFY2(found == QString::fromUtf8(wanted), qPrintable(QString::fromUtf8(row) + "\n   found: " + found));
        }
        for (const char *way : {"cancel", "esc", "close", "focus:cancel ret"}) // with players, each but OK refuses the list
            QCOMPARE(run(QStringLiteral("Anne|Anne Bruno|t:zoé ret ") + way), "Zoé/Anne Bruno Zoé/Anne Zoé//no");
    }

    // The keyboard panel: the layout in use with the wrong keys on their keys, the player's
    // choice kept; the key chosen with the arrows told under the map and, as the focused
    // child, to a screen reader; the key under the mouse telling its figures. Rows: the layout
    // remembered ("-": no keyboard data), what is shown (layout, wrong keys, notice), the same
    // after choosing BÉPO, the keys visited from ² with Down, Right, Right, Up.
    void keyboardPanel()
    {
        const QString none = "Les dispositions de clavier du système sont introuvables\u00A0: les touches restent sans nom (le paquet xkb-data les fournit).";
        for (const QStringList &row : {QStringList{"be", "AZERTY (Belgique)|é 3/20, ! 4/5, E 2/10, O 1/1|", "BÉPO|É 3/20, O 1/1, ^ 4/5, Ê 2/10|", "² A Z E \""},
                                       QStringList{"ca-", "QWERTY (Canada français)||" + none, "", "    "}}) {
            QTemporaryDir empty;
            XkbKeyboards keyboards(row[0].endsWith('-') ? empty.path() : QString());
            GivenKeyboardNames server;
            RememberedLayout memory;
            memory.layout = row[0].chopped(row[0].endsWith('-'));
            KeyboardLayouts layouts(keyboards, server, memory);
            KeyboardPanel panel(layouts);
            panel.setCounts({{"É", 20, 3}, {"Ê", 10, 2}, {"!", 5, 4}, {"Œ", 1, 1}});
            KeyboardMapView *map = panel.map();
            auto shown = [&] {
                QStringList missed;
                for (const KeyboardMap::KeyFigures &f : map->figures())
                    if (f.wrong > 0)
                        missed << QStringLiteral("%1 %2/%3").arg(f.label).arg(f.wrong).arg(f.expected);
                auto *notice = panel.findChild<QLabel *>(QStringLiteral("layoutNotice"));
                return panel.layoutBox()->currentText() + '|' + missed.join(", ") + '|' + (notice->isVisibleTo(&panel) ? notice->text() : "");
            };
            QCOMPARE(shown(), row[1]);
            QVERIFY(panel.findChild<QLabel *>(QStringLiteral("mostMissed"))->text().contains(QStringLiteral("!\u00A0: 4 fautes sur 5")));
            // Each key visited: its name under the map, and as the only focused child, the map's focus child.
            panel.show();
            panel.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&panel));
            map->setFocus();
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(map);
            QVERIFY(iface->childCount() == map->figures().size() && iface->childCount() > 40);
            QStringList visited, said;
            for (Qt::Key k : {Qt::Key_unknown, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Up}) {
                if (k != Qt::Key_unknown)
                    QTest::keyClick(map, k);
                const QString told = panel.findChild<QLabel *>(QStringLiteral("keyFigures"))->text();
                QStringList focused;
                for (int i = 0; i < iface->childCount(); ++i)
                    if (iface->child(i)->state().focused)
                        focused << iface->child(i)->text(QAccessible::Name);
                QVERIFY(iface->focusChild() && focused == QStringList{iface->focusChild()->text(QAccessible::Name)});
                QVERIFY2(focused[0].startsWith("Touche " + told.section(u'\u00A0', 0, 0)) || told.isEmpty(), qPrintable(focused[0] + " / " + told));
                visited << told.section(u'\u00A0', 0, 0);
                said << focused[0];
            }
            QVERIFY(map->currentKey() > 0 && visited.join(" ") == row[3]);
            QAccessibleInterface *second = iface->child(1);
            const QPoint centre = second->rect().center();
            QVERIFY(iface->childAt(centre.x(), centre.y()) == second && iface->indexOfChild(second) == 1 && second->parent() == iface);
            if (row[2].isEmpty())
                continue;
            QCOMPARE(said[3], "Touche E\u00A0: 2 erreurs sur 10, 20,0\u00A0%");
            // The key under the mouse.
            const auto e = std::find_if(map->figures().begin(), map->figures().end(), [](auto &f) { return f.label == "é"; });
            const QPoint onKey = map->keyRect(int(e - map->figures().begin())).center().toPoint();
            QHelpEvent hover(QEvent::ToolTip, onKey, map->mapToGlobal(onKey));
            QApplication::sendEvent(map, &hover);
            QVERIFY2(QToolTip::text().startsWith(QStringLiteral("é\u00A0: 3 fautes sur 20")), qPrintable(QToolTip::text()));
            panel.layoutBox()->setCurrentIndex(panel.layoutBox()->findData(QStringLiteral("fr(bepo)")));
            QCOMPARE(memory.kept, QStringList{QStringLiteral("fr(bepo)")});
            QCOMPARE(shown(), row[2]);
        }
    }

    // Sixty players, in six-letter mode: the mode's records named; half the screen high and
    // centred at load; then the list takes what the height gives beyond the fixed part, the
    // button keeps its distance to the bottom, the width stays, and a height at or below the fixed
    // part is refused. No line is ever hidden behind the OK button, which stands over the bottom
    // of the list's box, scrolled to the top or the end (where the list has room for one). OK, the
    // title-bar close and Enter close the window, Escape does not.
    void recordsWindow()
    {
        QByteArray sixty = kPlaceholders;
        for (int i = 0; i < 60; ++i)
            sixty += entryBytes(QByteArray("Joueur") + QByteArray::number(i), 300 + i, 500 + i);
        ScratchFolder folder;
        folder.write(QStringLiteral("clvfic1.txt"), sixty);
        PlayerFile file;
        QVERIFY(file.open(folder.file(QStringLiteral("clvfic1.txt"))));
        RecordsWindow records(file, 6);
        records.show();
        auto *list = records.findChild<QTableView *>();
        auto *ok = records.findChild<QPushButton *>();
        const auto outerHeight = [&records] { return records.frameGeometry().height(); };
        QVERIFY(records.findChild<QGroupBox *>()->title().endsWith(QStringLiteral("6 lettres")));
        QVERIFY(QTest::qWaitForWindowExposed(&records));
        const QRect screen = records.screen()->geometry(), load = records.frameGeometry();
        QVERIFY(qAbs(load.height() - screen.height() / 2) <= 1 && (load.center() - screen.center()).manhattanLength() <= 2);
        const int fixed = outerHeight() - list->height(), bottom = outerHeight() - ok->y();
        int height = outerHeight();
        for (int asked : {height, fixed + 300, fixed, fixed + 80, fixed - 40, fixed + 1}) {
            records.resize(records.width() + 50, asked - (outerHeight() - records.height()));
            height = asked > fixed ? asked : height;
            QTRY_COMPARE(outerHeight(), height);
            QVERIFY(records.frameGeometry().width() == load.width() && list->height() == height - fixed);
            QCOMPARE(outerHeight() - ok->y(), bottom);
            for (bool end : {false, true}) {
                if (height - fixed < 80)
                    break;
                end ? list->scrollToBottom() : list->scrollToTop();
                const QRect rows(list->viewport()->mapTo(&records, QPoint(0, 0)), list->viewport()->size());
                QVERIFY(!rows.intersects(ok->geometry()));
                QVERIFY(list->viewport()->rect().contains(list->visualRect(list->model()->index(end ? 59 : 0, 0))));
            }
        }
        for (int how : {0, 1, int(Qt::Key_Return), int(Qt::Key_Escape)}) {
            records.show();
            how == 0 ? ok->click() : how == 1 ? void(records.close()) : QTest::keyClick(list, Qt::Key(how));
            QVERIFY2(records.isVisible() == (how == Qt::Key_Escape), qPrintable(QString::number(how)));
        }
    }
};

QTEST_MAIN(TestWindowParts)
#include "tst_window_parts.moc"
