// Guards the wiring of the start-up and main windows: the splash growth, what the main
// window shows of the game, the keys and menu commands it hands on (dead keys included),
// and the modal windows it opens and returns from.
#include "app/GameApplication.h"
#include "platform/SystemClock.h"
#include "support/RecordBytes.h"
#include "support/GameUnderTest.h"
#include "support/TestDoubles.h"
#include "support/WindowDriver.h"
#include "ui/MainWindow.h"
#include "ui/SplashWindow.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>

#include <memory>

namespace {

// Names typed into the player list dialog, each followed by Enter; a second Enter on the
// last name validates the list.
void namePlayers(const QStringList &names)
{
    whenModal([names](QWidget *dialog) {
        QLineEdit *edit = dialog->findChild<QComboBox *>()->lineEdit();
        for (const QString &name : names) {
            edit->selectAll();
            typeText(edit, name);
            QTest::keyClick(edit, Qt::Key_Return);
        }
        QTest::keyClick(edit, Qt::Key_Return);
    });
}

// Clicks the splash picture once the growth has made the window `width` pixels wide.
struct ClickWhenWide : QObject
{
    explicit ClickWhenWide(int width) : width(width) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *picture = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Move && !clicked && picture->parentWidget()->width() >= width) {
            clicked = true;
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(picture, &press);
        }
        return false;
    }
    int width;
    bool clicked = false;
};

} // namespace

class TestMainWindow : public GameUnderTest
{
    Q_OBJECT

    SystemClock realClock;


    // The texts of the labels named, joined with "|".
    QString labels(const char *names) const
    {
        QStringList out;
        for (const QString &name : QString::fromLatin1(names).split(QLatin1Char(' ')))
            out << main->findChild<QLabel *>(name)->text();
        return out.join(QLatin1Char('|'));
    }
    QAction *action(const char *name) const { return main->findChild<QAction *>(QLatin1String(name)); }
    // Which of the item commands, the records list and About are enabled, "1" or "0" each.
    QString itemCommandsEnabled() const
    {
        QString out;
        for (const char *name :
             {"newGameAction", "changePlayersAction", "oneLetterAction", "sixLettersAction", "scoresAction", "aboutAction"})
            out += action(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return out;
    }
    void key(Qt::Key k) { QTest::keyClick(main, k); }

private slots:
    void init() { setUpGame(); }
    void cleanup() { tearDownGame(); }

    void startUpShowsTheGameAsLoaded()
    {
        QVERIFY(startGame());
        QVERIFY(main->isMaximized() && app->splashWindow()->isHidden());
        QCOMPARE(labels("playerName prompt item absoluteMini absoluteAverage"),
                 "Prénom|Touche F2 pour commencer|?|xxxxx           Mini :     9999|xxxxx          Moyenne :  9999");
        QVERIFY(action("oneLetterAction")->isChecked() && !action("sixLettersAction")->isChecked());
        QVERIFY(action("soundAction")->isChecked());
        QStringList captions;
        for (QAction *menu : main->menuBar()->actions()) {
            captions << menu->text();
            for (QAction *a : menu->menu()->actions())
                if (!a->isSeparator())
                    captions << a->text() + (a->shortcut().isEmpty() ? QString() : " " + a->shortcut().toString());
        }
        QCOMPARE(captions.join(QLatin1Char('|')),
                 QStringLiteral("&Jeu|&Nouveau jeu F2|&Entraînement ciblé F6|&Scores F3|&Progression F5|Changement de &joueur F4|&Quitter|&Options|"
                                "&1 lettre|&6 lettres|&Son|&?|&Aide F1|&A propos de Clavimo ..."));
    }

    void splashGrowsToItsPicture()
    {
        QVERIFY(startGame());
        SplashWindow *splash = app->splashWindow();
        // One twip of height and 1.33 of width a step, until as wide as the picture.
        QCOMPARE(splash->width(), splash->findChild<QLabel *>(QStringLiteral("picture"))->width());
        QVERIFY(qAbs(splash->height() - splash->width() / 1.33) <= 1);
        QVERIFY(splash->growthSteps() > 2700);
    }

    void splashStopsGrowingWhenClicked()
    {
        ClickWhenWide clicker(50);
        QTimer::singleShot(0, [&] {
            app->splashWindow()->findChild<QLabel *>(QStringLiteral("picture"))->installEventFilter(&clicker);
        });
        QVERIFY(startGame());
        QCOMPARE(app->splashWindow()->width(), 50); // the step that was clicked is the last
    }

    void anItemInTheWindow()
    {
        QVERIFY(startGame());
        namePlayers({QStringLiteral("Paul")});
        key(Qt::Key_F2);
        QCOMPARE(main->findChild<QGroupBox *>(QStringLiteral("personalFrame"))->title(), QStringLiteral("Records Paul"));
        QCOMPARE(labels("playerName prompt personalMini personalAverage"),
                 "Paul|Barre espace pour continuer|Mini    :  9999|Moyenne :  9999");
        auto *prompt = main->findChild<QLabel *>(QStringLiteral("prompt"));
        auto *gaugeTimer = main->findChild<QTimer *>(QStringLiteral("gaugeTimer"));
        QVERIFY(prompt->isVisible());

        ts->random.values = {(10 + 0.5) / 26.0};
        key(Qt::Key_Space);
        QCOMPARE(labels("item itemNumber"), "K|1");
        QVERIFY(prompt->isHidden() && gaugeTimer->isActive());
        QCOMPARE(main->cursor().shape(), Qt::WaitCursor);
        QCOMPARE(itemCommandsEnabled(), "000011");

        // F2 is locked; Enter and Backspace are wrong keys that beep.
        for (Qt::Key k : {Qt::Key_F2, Qt::Key_Return, Qt::Key_Backspace})
            key(k);
        QCOMPARE(ts->beeper.count, 2);
        ts->clock.now += 400;
        typeText(main, QStringLiteral("k"));
        QCOMPARE(labels("typed itemTime gameMini gameAverage absoluteMini personalMini"),
                 "K|480|Mini    :  480|Moyenne   :  480|Paul            Mini    :     480|Mini    :  480");
        QVERIFY(!gaugeTimer->isActive() && prompt->isVisible());
        QCOMPARE(main->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(itemCommandsEnabled(), "111111");
    }

    // F6: the practised characters where the prompt stands, at the prompt's own place, and
    // on show while the items are typed.
    void practiceShowsItsCharacters_data()
    {
        QTest::addColumn<int>("games"); // Paul's games in the history, K missed in each
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("boxes");
        QTest::newRow("weak K") << 30 << QStringLiteral("Entraînement\u00A0: K") << 0;
        QTest::newRow("no history") << 0 << QStringLiteral("Entraînement\u00A0: tirage égal") << 1;
    }
    void practiceShowsItsCharacters()
    {
        QFETCH(int, games);
        QFETCH(QString, caption);
        QFETCH(int, boxes);
        for (int g = 0; g < games; ++g) {
            FinishedGame game{QStringLiteral("Paul"), 1, QDateTime(QDate(2026, 12, 1), QTime(9, g), Qt::UTC),
                              QDateTime(QDate(2026, 12, 1), QTime(9, g, 30), Qt::UTC), 400, 450, {}};
            for (int i = 0; i < 20; ++i) {
                const QChar c(u'A' + (i * 7 + g) % 26);
                game.items << PlayedItem{QString(c), 450, c == u'K' ? 495 : 450,
                                         c == u'K' ? QList<Mistake>{{c, u'L'}} : QList<Mistake>{}};
            }
            game.items[0] = PlayedItem{QStringLiteral("K"), 450, 495, {{u'K', u'L'}}};
            app->history().record(game);
        }
        QVERIFY(startGame());
        namePlayers({QStringLiteral("Paul")});
        auto *prompt = main->findChild<QLabel *>(QStringLiteral("prompt"));
        QCOMPARE(prompt->text(), QStringLiteral("Touche F2 pour commencer"));
        const QPoint place = prompt->pos();
        const qsizetype before = ts->boxes.shown.size();
        key(Qt::Key_F6);
        // F6 with nobody named asks for the players first, as F2 does: the newcomer's welcome.
        QCOMPARE(ts->boxes.texts().mid(before, 1), QStringList{QStringLiteral("Bienvenue au Club CLAVIMO !")});
        QCOMPARE(ts->boxes.shown.size() - before, 1 + boxes);
        QCOMPARE(prompt->text(), caption);
        QVERIFY(prompt->isVisible());
        QCOMPARE(prompt->pos(), place);
        key(Qt::Key_Space);
        QCOMPARE(labels("itemNumber"), QStringLiteral("1"));
        QVERIFY(prompt->isVisible());
        QCOMPARE(prompt->text(), caption);
        QVERIFY(app->session().isPractice());
    }

    // With the real clock, the time shown is the interval between the showing and the last
    // key, to the millisecond (no record falls, so no file work follows the key).
    void itemTimeIsTheRealInterval()
    {
        folder->write(QStringLiteral("clvfic1.txt"),
                      recordBytes("Anne", 1, 0) + recordBytes("Anne", 0, 1) + recordBytes("Paul", 1, 1));
        const Services doubles = ts->services();
        app = std::make_unique<GameApplication>(Services{realClock, doubles.wallClock, doubles.random, doubles.beeper, doubles.sound,
                                                         doubles.boxes, doubles.shell, doubles.end});
        QVERIFY(startGame());
        namePlayers({QStringLiteral("Paul")});
        key(Qt::Key_F2);
        for (int wait : {120, 333}) {
            key(Qt::Key_Space);
            QElapsedTimer interval;
            interval.start();
            QTest::qWait(wait);
            typeText(main, labels("item").toLower());
            const qint64 measured = interval.elapsed();
            const qint64 shown = labels("itemTime").toLongLong();
            QVERIFY2(shown >= wait && qAbs(shown - measured) <= 2, qPrintable(QStringLiteral("%1 ms shown, %2 ms measured")
                                                                               .arg(shown).arg(measured)));
        }
    }

    void deadKeyCompositionsAreTyped()
    {
        folder->write(QStringLiteral("clvlet6.txt"), QByteArray("b\xEAtise"));
        QVERIFY(startGame());
        namePlayers({QStringLiteral("Zoé")});
        key(Qt::Key_F2);
        action("sixLettersAction")->trigger();
        QVERIFY(action("sixLettersAction")->isChecked() && !action("oneLetterAction")->isChecked());
        QCOMPARE(labels("item"), QStringLiteral("??????"));
        QCOMPARE(main->findChild<QLabel *>(QStringLiteral("item"))->font().pointSizeF(), 25.0);
        key(Qt::Key_Space);
        QCOMPARE(labels("item"), QStringLiteral("BÊTISE"));
        typeText(main, QStringLiteral("b"));
        QInputMethodEvent composed; // "ê" as a dead-key composition commits it
        composed.setCommitString(QStringLiteral("ê"));
        QApplication::sendEvent(main, &composed);
        typeText(main, QStringLiteral("tis"));
        QCOMPARE(labels("typed"), QStringLiteral("BÊTIS"));
    }

    void menuCommandsReachTheGame()
    {
        QVERIFY(startGame());
        action("soundAction")->trigger();
        QVERIFY(!action("soundAction")->isChecked());
        QCOMPARE(folder->read(QStringLiteral("clavimo.ini")), QByteArray("\x00\x00", 2));
        key(Qt::Key_F1);
        QVERIFY(ts->boxes.last().endsWith(QStringLiteral("| Question")));
        ts->boxes.answers = {BoxAnswer::Cancel};
        key(Qt::Key_Escape);
        QVERIFY(ts->boxes.last().startsWith(QStringLiteral("Allez, encore un peu !")));
        QCOMPARE(ts->end.ended, 0);
        action("quitAction")->trigger();
        QCOMPARE(ts->end.ended, 1);
        const qsizetype boxes = ts->boxes.shown.size();
        key(Qt::Key_F1); // nothing runs any more
        QCOMPARE(ts->boxes.shown.size(), boxes);
    }

    // A key pressed while a menu is open is the menu's: the menu hands the keys it has no
    // use for to the menu bar, and they must not reach the game from there. Once the menu
    // is closed, the same key is the game's, even when the menu bar keeps the keyboard (as
    // it does after Escape).
    void keysPressedInAnOpenMenuStayThere_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<bool>("itemShown");
        QTest::addColumn<char>("pressed");
        QTest::newRow("space shows no item") << QStringLiteral("&Options") << false << ' ';
        QTest::newRow("right letter") << QStringLiteral("&?") << true << 'k';
        QTest::newRow("wrong letter") << QStringLiteral("&Jeu") << true << 'z';
    }
    void keysPressedInAnOpenMenuStayThere()
    {
        QFETCH(QString, menu);
        QFETCH(bool, itemShown);
        QFETCH(char, pressed);
        QVERIFY(startGame());
        namePlayers({QStringLiteral("Paul")});
        key(Qt::Key_F2);
        ts->random.fallback = (10 + 0.5) / 26.0; // K, a letter no menu uses
        if (itemShown)
            key(Qt::Key_Space);
        auto game = [&] { return labels("item typed itemTime") + QString::number(ts->beeper.count); };
        const QString before = game();

        QMenu *open = nullptr;
        for (QAction *a : main->menuBar()->actions())
            if (a->text() == menu)
                open = a->menu();
        QVERIFY(open);
        main->menuBar()->setActiveAction(open->menuAction());
        QTRY_COMPARE(QApplication::activePopupWidget(), open);
        QTest::keyClick(open, pressed);
        QCOMPARE(game(), before);
        QCOMPARE(QApplication::activePopupWidget(), open);

        QTest::keyClick(open, Qt::Key_Escape);
        QVERIFY(!QApplication::activePopupWidget());
        QTest::keyClick(main->menuBar(), pressed);
        QVERIFY(game() != before);
    }

    void closingTheWindowSaysGoodbye()
    {
        QVERIFY(startGame());
        main->close();
        QVERIFY(ts->boxes.last().startsWith(QStringLiteral("Au revoir et à bientôt !")));
        QCOMPARE(ts->end.ended, 1);
    }

    // The hand-over window starts the next player's game; the records list, the
    // progression window and About closing over the window leave the game as it is.
    void modalWindowsAndTurns_data()
    {
        QTest::addColumn<QString>("other");
        QTest::newRow("records list") << QStringLiteral("scoresAction");
        QTest::newRow("about") << QStringLiteral("aboutAction");
        QTest::newRow("progression") << QStringLiteral("progressionAction");
    }
    void modalWindowsAndTurns()
    {
        QFETCH(QString, other);
        QVERIFY(startGame());
        namePlayers({QStringLiteral("Anne"), QStringLiteral("Bruno")});
        key(Qt::Key_F2);
        for (int i = 0; i < 22; ++i) {
            key(Qt::Key_Space);
            typeText(main, labels("item").toLower());
        }
        QCOMPARE(labels("playerName itemNumber"), "Bruno|2");
        whenModal([](QWidget *w) { QTimer::singleShot(0, w, &QWidget::close); });
        main->findChild<QAction *>(other)->trigger();
        QCOMPARE(labels("itemNumber"), QStringLiteral("2"));
        key(Qt::Key_Space);
        QCOMPARE(labels("itemNumber"), QStringLiteral("3"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
