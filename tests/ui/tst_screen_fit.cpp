// Guards that every window, its frame included, lies inside the available area of a 1280×1024
// screen at the scale the environment sets (QT_SCALE_FACTOR, QT_FONT_DPI), with the
// progression window's buttons in sight and every key's name and rate inside its key.
#include "app/GameApplication.h"
#include "game/keyboard/KeyboardLayouts.h"
#include "game/records/PlayerFile.h"
#include "history/SqliteHistory.h"
#include "support/GameSamples.h"
#include "support/EntryBytes.h"
#include "support/TestDoubles.h"
#include "support/WindowDriver.h"
#include "ui/AboutWindow.h"
#include "ui/ClassWindow.h"
#include "ui/HandOverWindow.h"
#include "ui/KeyboardMapView.h"
#include "ui/MainWindow.h"
#include "ui/PlayerListDialog.h"
#include "ui/ProgressionWindow.h"
#include "adapters/QtServices.h"
#include "ui/RecordsWindow.h"
#include "adapters/XkbKeyboards.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <functional>
#include <memory>

namespace {

const QDateTime kDay(QDate(2026, 11, 2), QTime(17, 0), Qt::UTC);

QString describe(const QRect &r)
{
    return QStringLiteral("%1x%2 at %3,%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
}

// Fails unless the window, frame included, lies inside the screen's available area.
bool fitsTheScreen(const QWidget *window, QString *why)
{
    const QRect area = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    *why = QStringLiteral("%1: frame %2, available %3")
               .arg(window->windowTitle(), describe(frame), describe(area));
    return window->isVisible() && area.contains(frame);
}

// The progression window over a history of Paul's games, each item missed now and then, so
// that most keys show a rate.
struct Progression
{
    ScratchFolder folder;
    TestServices ts;
    SqliteHistory history{ts.boxes, ts.wallClock};
    XkbKeyboards keyboards;
    GivenKeyboardNames serverKeyboard;
    RememberedLayout memory;
    KeyboardLayouts layouts{keyboards, serverKeyboard, memory};
    std::unique_ptr<ProgressionWindow> window;

    Progression()
    {
        std::mt19937 random(7);
        for (int i = 0; i < 40; ++i)
            history.record(sampleGame(random, QStringLiteral("Paul"), i % 2 ? 6 : 1, kDay.addDays(i)));
        window = std::make_unique<ProgressionWindow>(history, ts.boxes, layouts, ts.wallClock, QStringLiteral("Paul"), 6);
    }
};

} // namespace

class TestScreenFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", configFolder_.path().toLocal8Bit());
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QSize device = (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize();
        // A scale of 1.5 leaves a fraction of a pixel: 1024 / 1.5 rounds to 683.
        if (std::abs(device.width() - 1280) > 1 || std::abs(device.height() - 1024) > 1)
            QFAIL(qPrintable(QStringLiteral("the screen is %1x%2 device pixels, not 1280x1024: run with "
                                            "QT_QPA_PLATFORM=offscreen:configfile=tests/data/offscreen-1280x1024.json")
                                 .arg(device.width())
                                 .arg(device.height())));
        qInfo("scale %g, %g dpi, available %s", screen->devicePixelRatio(), screen->logicalDotsPerInchY(),
              qPrintable(describe(screen->availableGeometry())));
    }

    // The main window once activated, each dialog once shown, and a real message box with
    // the game's longest message.
    void windowsFit_data()
    {
        QTest::addColumn<QString>("window");
        for (const char *name : {"main", "player list", "records", "hand-over", "about", "progression", "class", "message box"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void windowsFit()
    {
        QFETCH(QString, window);
        ScratchFolder folder;
        folder.write(QStringLiteral("clvfic1.txt"), kPlaceholders + entryBytes("Paul", 412, 655) + entryBytes("Zo\xE9", 388, 601));
        PlayerFile file;
        QVERIFY(file.open(folder.file(QStringLiteral("clvfic1.txt"))));
        TestServices ts;
        int aboutScroll = 0;
        std::unique_ptr<Progression> progression;
        std::unique_ptr<GameApplication> app;
        QWidget *shown = nullptr;
        std::unique_ptr<QWidget> owned;
        QString why;
        if (window == "main") {
            app = std::make_unique<GameApplication>(ts.services());
            app->start();
            QVERIFY(QTest::qWaitFor([&] { return app->mainWindow() != nullptr; }, 5000));
            app->mainWindow()->activate(false);
            shown = app->mainWindow();
        } else if (window == "progression") {
            progression = std::make_unique<Progression>();
            shown = progression->window.get();
        } else if (window == "class") {
            progression = std::make_unique<Progression>();
            owned = std::make_unique<ClassWindow>(progression->history, ts.boxes, ts.wallClock, 1,
                                                  ClassWindow::ProgressionOpener());
            shown = owned.get();
        } else if (window == "message box") {
            bool fits = false;
            whenModal([&](QWidget *box) {
                QVERIFY(QTest::qWaitForWindowExposed(box));
                fits = fitsTheScreen(box, &why);
                box->close();
            });
            QtMessageBoxes().show(QStringLiteral("Le fichier d'historique « historique.sqlite » est illisible et son journal « "
                                                 "historique.sqlite-wal » n'a pas pu être renommé : l'historique des parties "
                                                 "n'est pas conservé."),
                                  QStringLiteral("Clavimo"), BoxButtons::OkCancel, BoxIcon::Exclamation);
            QVERIFY2(fits, qPrintable(why));
            return;
        } else {
            if (window == "player list")
                owned = std::make_unique<PlayerListDialog>(file, QStringList{QStringLiteral("Paul")}, ts.boxes);
            else if (window == "records")
                owned = std::make_unique<RecordsWindow>(file, 1);
            else if (window == "hand-over")
                owned = std::make_unique<HandOverWindow>(QStringLiteral("Maximilienne"), 60000);
            else
                owned = std::make_unique<AboutWindow>(ts.boxes, ts.shell, aboutScroll);
            shown = owned.get();
        }
        shown->show(); // the hand-over window without its wait, which would hold the test
        QVERIFY(window != "main" || QTest::qWaitForWindowExposed(shown));
        QVERIFY2(fitsTheScreen(shown, &why), qPrintable(why));
        if (window == "class") {
            auto *button = shown->findChild<QPushButton *>(QStringLiteral("closeButton"));
            QVERIFY(button->isVisible() && shown->rect().contains(button->geometry()));
        }
        if (window != "progression")
            return;
        // Laid out to the window's width: the page may scroll down, never sideways.
        auto *scroll = shown->findChild<QScrollArea *>(QStringLiteral("contentScroll"));
        QCoreApplication::processEvents();
        QCOMPARE(scroll->horizontalScrollBar()->maximum(), 0);
        const QRect area = shown->screen()->availableGeometry();
        for (const char *name : {"exportButton", "closeButton"}) {
            auto *button = shown->findChild<QPushButton *>(QLatin1String(name));
            const QRect onScreen(button->mapToGlobal(QPoint(0, 0)), button->size());
            QVERIFY2(button->isVisible() && area.contains(onScreen) && shown->rect().contains(button->geometry()), name);
        }
    }

    // Every name and rate inside its key, the rates as wide as they come ("100,0 %"), at the
    // size the window gives the map and at the map's smallest and preferred sizes; the
    // rates at least 7 device pixels high.
    void keyTextsFitTheirKeys()
    {
        Progression p;
        p.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(p.window.get()));
        auto *map = p.window->findChild<KeyboardMapView *>();
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
