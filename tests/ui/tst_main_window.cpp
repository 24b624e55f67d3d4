// Guards the main window's wiring: what it shows of the game, the keys and menu commands it
// hands on (dead keys included, none from an open menu), and the modal windows it opens.
#include "platform/SystemClock.h"
#include "support/GameUnderTest.h"
#include "support/EntryBytes.h"
#include "support/WindowDriver.h"
#include "ui/SplashWindow.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

// Names typed into the player list dialog, each followed by Enter; a second Enter validates.
static void namePlayers(const QStringList &names)
{
    whenModal([names](QWidget *dialog) {
        QLineEdit *edit = dialog->findChild<QComboBox *>()->lineEdit();
        for (const QString &name : names + QStringList{QString()}) {
            edit->selectAll();
            typeText(edit, name);
            QTest::keyClick(edit, Qt::Key_Return);
        }
    });
}

class TestMainWindow : public GameUnderTest
{
    Q_OBJECT

    QLabel *label(const QString &name) const { return main->findChild<QLabel *>(name); }
    // The texts of the labels named, joined with "|".
    QString labels(const char *names) const
    {
        QStringList out;
        for (const QString &name : QString::fromLatin1(names).split(QLatin1Char(' ')))
            out << label(name)->text();
        return out.join(QLatin1Char('|'));
    }
    QAction *action(const char *name) const { return main->findChild<QAction *>(QLatin1String(name)); }
    void key(Qt::Key k) { QTest::keyClick(main, k); }
    // Started, Paul named, F2 pressed: a game waits for the space bar.
    bool startPaulsGame()
    {
        if (!startGame())
            return false;
        namePlayers({QStringLiteral("Paul")});
        key(Qt::Key_F2);
        return app->session().game().isRunning();
    }

private slots:
    void init() { setUpGame(); }
    void cleanup() { tearDownGame(); }

    void anItemInTheWindow()
    {
        QVERIFY(startPaulsGame());
        QVERIFY(main->isMaximized() && app->splashWindow()->isHidden());
        QVERIFY(action("oneLetterAction")->isChecked() && action("soundAction")->isChecked());
        ts->random.values = {(10 + 0.5) / 26.0};
        key(Qt::Key_Space);
        auto *gaugeTimer = main->findChild<QTimer *>(QStringLiteral("gaugeTimer"));
        QCOMPARE(labels("playerName item itemNumber"), "Paul|K|1");
        QVERIFY(label("prompt")->isHidden() && gaugeTimer->isActive() && main->cursor().shape() == Qt::WaitCursor);
        QVERIFY(!action("newGameAction")->isEnabled() && !action("sixLettersAction")->isEnabled());
        QVERIFY(action("scoresAction")->isEnabled() && action("aboutAction")->isEnabled());
        // F2 is locked; Enter and Backspace are wrong keys that beep.
        for (Qt::Key k : {Qt::Key_F2, Qt::Key_Return, Qt::Key_Backspace})
            key(k);
        QCOMPARE(ts->beeper.count, 2);
        ts->clock.now += 400;
        typeText(main, QStringLiteral("k"));
        for (const char *name : {"gameMini", "gameAverage", "absoluteMini", "personalMini"})
            QVERIFY2(label(name)->text().contains(QStringLiteral("480")), name);
        QCOMPARE(labels("typed itemTime"), "K|480");
        QVERIFY(label("prompt")->isVisible() && !gaugeTimer->isActive() && main->cursor().shape() == Qt::ArrowCursor);
        QVERIFY(action("newGameAction")->isEnabled() && action("sixLettersAction")->isEnabled());
    }

    // F6 with nobody named asks for the players first; the practice's caption then stands in
    // the prompt's place and stays there while the items are typed.
    void practiceShowsItsCharacters()
    {
        QVERIFY(startGame());
        const QPoint place = label("prompt")->pos();
        namePlayers({QStringLiteral("Paul")});
        key(Qt::Key_F6);
        QVERIFY(app->session().hasPlayer() && app->session().isPractice());
        const QString caption = label("prompt")->text();
        QVERIFY2(caption.startsWith(QStringLiteral("Entraînement")), qPrintable(caption));
        key(Qt::Key_Space);
        QCOMPARE(labels("itemNumber prompt"), "1|" + caption);
        QVERIFY(label("prompt")->isVisible() && label("prompt")->pos() == place);
    }

    // With the real clock, the time shown is the interval between the showing and the last
    // key, to the millisecond (no record falls, so no file work follows the key).
    void itemTimeIsTheRealInterval()
    {
        folder->write(QStringLiteral("clvfic1.txt"), entryBytes("Anne", 1, 0) + entryBytes("Anne", 0, 1) + entryBytes("Paul", 1, 1));
        SystemClock realClock;
        const Services d = ts->services();
        app = std::make_unique<GameApplication>(Services{realClock, d.wallClock, d.random, d.beeper, d.sound, d.boxes, d.shell, d.end});
        QVERIFY(startPaulsGame());
        key(Qt::Key_Space);
        QElapsedTimer interval;
        interval.start();
        QTest::qWait(150);
        typeText(main, labels("item").toLower());
        const qint64 measured = interval.elapsed(), shown = labels("itemTime").toLongLong();
        QVERIFY2(shown >= 150 && qAbs(shown - measured) <= 2, qPrintable(QStringLiteral("%1 ms shown, %2 measured").arg(shown).arg(measured)));
    }

    void deadKeyCompositionsAreTyped()
    {
        folder->write(QStringLiteral("clvlet6.txt"), QByteArray("b\xEAtise"));
        QVERIFY(startPaulsGame());
        action("sixLettersAction")->trigger();
        QVERIFY(action("sixLettersAction")->isChecked() && !action("oneLetterAction")->isChecked());
        key(Qt::Key_Space);
        typeText(main, QStringLiteral("b"));
        QInputMethodEvent composed; // "ê" made with a dead key arrives as a commit
        composed.setCommitString(QStringLiteral("ê"));
        QApplication::sendEvent(main, &composed);
        typeText(main, QStringLiteral("tis"));
        QCOMPARE(labels("item typed"), QStringLiteral("BÊTISE|BÊTIS"));
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
        key(Qt::Key_Escape); // asks whether to quit; Annuler stays
        QCOMPARE(ts->boxes.shown.size(), 2);
        QCOMPARE(ts->end.ended, 0);
        action("quitAction")->trigger();
        QCOMPARE(ts->end.ended, 1);
        const qsizetype boxes = ts->boxes.shown.size(); // with the goodbye
        key(Qt::Key_F1); // nothing runs any more
        QCOMPARE(ts->boxes.shown.size(), boxes);
    }

    void closingTheWindowSaysGoodbye()
    {
        QVERIFY(startGame());
        main->close();
        QCOMPARE(ts->boxes.shown.size(), 1);
        QCOMPARE(ts->end.ended, 1);
    }

    // A key pressed in an open menu is the menu's, also when the menu hands it on to the
    // menu bar; once the menu is closed the same key is the game's.
    void keysPressedInAnOpenMenuStayThere_data()
    {
        QTest::addColumn<int>("menu");
        QTest::addColumn<char>("pressed");
        QTest::newRow("space shows no item") << 1 << ' ';
        QTest::newRow("right letter") << 2 << 'k';
        QTest::newRow("wrong letter") << 0 << 'z';
    }
    void keysPressedInAnOpenMenuStayThere()
    {
        QFETCH(int, menu);
        QFETCH(char, pressed);
        QVERIFY(startPaulsGame());
        ts->random.fallback = (10 + 0.5) / 26.0; // K, a letter no menu uses
        if (pressed != ' ')
            key(Qt::Key_Space);
        auto game = [&] { return labels("item typed itemTime") + QString::number(ts->beeper.count); };
        const QString before = game();
        QMenu *open = main->menuBar()->actions().at(menu)->menu();
        main->menuBar()->setActiveAction(open->menuAction());
        QTRY_COMPARE(QApplication::activePopupWidget(), open);
        QTest::keyClick(open, pressed);
        QCOMPARE(game(), before);
        QCOMPARE(QApplication::activePopupWidget(), open);
        QTest::keyClick(open, Qt::Key_Escape);
        QTest::keyClick(main->menuBar(), pressed);
        QVERIFY(game() != before);
    }

    // The hand-over window starts the next player's game; the other windows closing over
    // the main window leave the game as it is.
    void modalWindowsAndTurns_data()
    {
        QTest::addColumn<QString>("other");
        for (const char *name : {"scoresAction", "aboutAction", "progressionAction"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void modalWindowsAndTurns()
    {
        QVERIFY(startGame());
        namePlayers({QStringLiteral("Anne"), QStringLiteral("Bruno")});
        key(Qt::Key_F2);
        for (int i = 0; i < 22; ++i) {
            key(Qt::Key_Space);
            typeText(main, labels("item").toLower());
        }
        QCOMPARE(labels("playerName itemNumber"), "Bruno|2");
        whenModal([](QWidget *w) { QTimer::singleShot(0, w, &QWidget::close); });
        QFETCH(QString, other);
        main->findChild<QAction *>(other)->trigger();
        key(Qt::Key_Space);
        QCOMPARE(labels("itemNumber"), QStringLiteral("3"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
