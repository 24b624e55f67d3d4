// Guards that every window, its frame included, lies inside the available area of a 1280×1024
// screen at the scale the environment sets (QT_SCALE_FACTOR, QT_FONT_DPI), with the
// progression window's buttons in sight and every key's name and rate inside its key.
#include "adapters/QtServices.h"
#include "adapters/XkbKeyboards.h"
#include "game/keyboard/KeyboardLayouts.h"
#include "game/records/PlayerFile.h"
#include "support/EntryBytes.h"
#include "support/GameSamples.h"
#include "support/GameUnderTest.h"
#include "support/WindowDriver.h"
#include "ui/AboutWindow.h"
#include "ui/ClassWindow.h"
#include "ui/CourseWindow.h"
#include "ui/HandOverWindow.h"
#include "ui/KeyboardMapView.h"
#include "ui/PlayerListDialog.h"
#include "ui/ProgressionWindow.h"
#include "ui/RecordsWindow.h"

#include <QFontMetricsF>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

class TestScreenFit : public GameUnderTest
{
    Q_OBJECT

    XkbKeyboards keyboards;
    GivenKeyboardNames serverKeyboard;
    RememberedLayout memory;
    KeyboardLayouts layouts{keyboards, serverKeyboard, memory};

    // The window, frame included, inside the screen's available area; else why not.
    static QString misfit(const QWidget *w)
    {
        const QRect area = w->screen()->availableGeometry(), frame = w->frameGeometry();
        if (w->isVisible() && area.contains(frame))
            return QString();
        return QStringLiteral("%1: frame %2x%3 at %4,%5, available %6x%7")
            .arg(w->windowTitle()).arg(frame.width()).arg(frame.height()).arg(frame.x()).arg(frame.y()).arg(area.width()).arg(area.height());
    }
    // The progression window over forty games of Paul, each item missed now and then, so
    // that most keys show a rate.
    std::unique_ptr<ProgressionWindow> progression()
    {
        std::mt19937 random(7);
        for (int i = 0; i < 40; ++i)
            app->history().record(sampleGame(random, "Paul", i % 2 ? 6 : 1, QDateTime(QDate(2026, 11, 2), QTime(17, 0), Qt::UTC).addDays(i)));
        return std::make_unique<ProgressionWindow>(app->history(), ts->boxes, layouts, ts->wallClock, "Paul", 6);
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", configFolder_.path().toLocal8Bit());
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QSize device = (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize();
        if (std::abs(device.width() - 1280) > 1 || std::abs(device.height() - 1024) > 1) // 1024 / 1.5 rounds to 683
            QFAIL("the screen is not 1280x1024 device pixels: run with QT_QPA_PLATFORM=offscreen:configfile=tests/data/offscreen-1280x1024.json");
    }
    void init() { setUpGame(); }
    void cleanup() { tearDownGame(); }

    // The main window once activated, each dialog once shown, and a real message box with
    // the game's longest message.
    void windowsFit()
    {
        folder->write("clvfic1.txt", kPlaceholders + entryBytes("Paul", 412, 655) + entryBytes("Zo\xE9", 388, 601));
        PlayerFile file;
        QVERIFY(file.open(folder->file("clvfic1.txt")));
        QVERIFY(startGame());
        main->activate(false);
        QVERIFY2(misfit(main).isEmpty(), qPrintable(misfit(main)));
        int aboutScroll = 0;
        std::unique_ptr<QWidget> windows[] = {std::make_unique<PlayerListDialog>(file, QStringList{"Paul"}, ts->boxes),
                                              std::make_unique<RecordsWindow>(file, 1), std::make_unique<AboutWindow>(ts->boxes, ts->shell, aboutScroll),
                                              progression(), std::make_unique<HandOverWindow>("Maximilienne", 60000),
                                              std::make_unique<ClassWindow>(app->history(), ts->boxes, ts->wallClock, 1, ClassWindow::ProgressionOpener()),
                                              std::make_unique<CourseWindow>(ts->services(), app->history(), &app->history(), layouts, "Maximilienne")};
        for (const auto &w : windows) {
            w->show();
            QVERIFY2(misfit(w.get()).isEmpty(), qPrintable(misfit(w.get())));
        }
        windows[4].reset(); // the hand-over window before its wait, which would hold the test
        // The progression window is laid out to its width: it may scroll down, never sideways.
        QWidget *shown = windows[3].get();
        QCoreApplication::processEvents();
        QCOMPARE(shown->findChild<QScrollArea *>("contentScroll")->horizontalScrollBar()->maximum(), 0);
        for (const char *name : {"exportButton", "closeButton"}) {
            auto *button = shown->findChild<QPushButton *>(QLatin1String(name));
            const QRect onScreen(button->mapToGlobal(QPoint(0, 0)), button->size());
            QVERIFY2(button->isVisible() && shown->screen()->availableGeometry().contains(onScreen) && shown->rect().contains(button->geometry()), name);
        }
        for (auto &w : windows) // the message box must be the only modal window
            w.reset();
        QString why = "not shown";
        whenModal([&](QWidget *box) {
            QVERIFY(QTest::qWaitForWindowExposed(box));
            why = misfit(box);
            box->close();
        });
        QtMessageBoxes().show("Le fichier d'historique « historique.sqlite » est illisible et son journal « historique.sqlite-wal » "
                              "n'a pas pu être renommé : l'historique des parties n'est pas conservé.",
                              "Clavimo", BoxButtons::OkCancel, BoxIcon::Exclamation);
        QVERIFY2(why.isEmpty(), qPrintable(why));
    }

    // Every name and rate inside its key, the rates as wide as they come ("100,0 %"), at the
    // size the window gives the map and at the map's smallest and preferred sizes; the
    // rates at least 7 device pixels high.
    void keyTextsFitTheirKeys()
    {
        const auto w = progression();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        auto *map = w->findChild<KeyboardMapView *>();
        QList<KeyboardMap::KeyFigures> figures = map->figures();
        QVERIFY(figures.size() > 40);
        for (KeyboardMap::KeyFigures &f : figures)
            f.expected = f.wrong = 1000;
        map->setFigures(figures);
        for (const QSize &size : {QSize(), map->minimumSizeHint(), map->sizeHint()}) {
            if (size.isValid())
                map->setFixedSize(size);
            QCoreApplication::processEvents();
            const KeyboardMapView::KeyFonts fonts = map->keyFonts();
            const QFontMetricsF labels(fonts.label), rates(fonts.rate);
            QVERIFY(fonts.rate.pixelSize() * map->devicePixelRatioF() >= 7);
            for (int i = 0; i < figures.size(); ++i) {
                const QRectF key = map->keyRect(i), rateRoom = KeyboardMapView::rateRoom(key);
                QVERIFY(QRectF(map->rect()).contains(key));
                QVERIFY2(labels.horizontalAdvance(figures[i].label) <= KeyboardMapView::labelRoom(key).width(), qPrintable(figures[i].label));
                QVERIFY2(rates.horizontalAdvance(KeyboardMapView::rateText(1.0)) <= rateRoom.width() && rates.height() <= rateRoom.height(),
                         qPrintable(QStringLiteral("%1 px on a key %2 wide").arg(fonts.rate.pixelSize()).arg(key.width())));
            }
        }
    }

private:
    QTemporaryDir configFolder_;
};

QTEST_MAIN(TestScreenFit)
#include "tst_screen_fit.moc"
