// Guards the main window's wiring: what it shows of the game, the keys and menu commands it
// hands on (dead keys included, none from an open menu), and the modal windows it opens,
// the keyboard course among them.
#include "platform/SystemClock.h"
#include "support/EntryBytes.h"
#include "support/GameUnderTest.h"
#include "ui/SplashWindow.h"
#include "ui/TypingField.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

class TestMainWindow : public GameUnderTest
{
    Q_OBJECT

    Announcements voice;
    QStringList &announced = voice.said;

    // What a screen reader gets as the name of the control.
    QString said(const char *name) const
    {
        return QAccessible::queryAccessibleInterface(main->findChild<QWidget *>(name))->text(QAccessible::Name);
    }
    // The texts of the labels named, joined with "|".
    QString labels(const char *names) const
    {
        QStringList out;
        for (const QString &name : QString::fromLatin1(names).split(QLatin1Char(' ')))
            out << main->findChild<QLabel *>(name)->text();
        return out.join(QLatin1Char('|'));
    }
    QAction *action(const char *name) const { return main->findChild<QAction *>(QLatin1String(name)); }
    void key(Qt::Key k) { QTest::keyClick(main, k); }
    // The players typed into the next player list dialog, each then Enter; a second Enter validates.
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
    // Started, the players named, F2 pressed: a game waits for the space bar. The
    // announcements are heard from the start.
    bool startGameOf(const QStringList &names)
    {
        if (!startGame())
            return false;
        announced.clear();
        voice.listen(main);
        namePlayers(names);
        key(Qt::Key_F2);
        return app->session().game().isRunning();
    }

private slots:
    void init() { setUpGame(); }

    // What the window shows of an item, and says: each item and its time as notifications,
    // the focus unmoved, the labels as sentences while the screen keeps its figures; the
    // commands locked and the wait cursor and gauge while an item is shown.
    void anItemInTheWindow()
    {
        QVERIFY(startGameOf({"Paul"}));
        QVERIFY(main->isMaximized() && app->splashWindow()->isHidden());
        QVERIFY(action("oneLetterAction")->isChecked() && action("soundAction")->isChecked());
        QWidget *focus = QApplication::focusWidget();
        auto *gaugeTimer = main->findChild<QTimer *>(QStringLiteral("gaugeTimer"));
        ts->random.values = {(10 + 0.5) / 26.0};
        key(Qt::Key_Space);
        QCOMPARE(labels("playerName item itemNumber"), "Paul|K|1");
        QCOMPARE(said("item") + '|' + said("itemNumber") + '|' + said("typed") + '|' + announced.join('|'), "Lettre\u00A0: K|Élément 1 sur 20||Lettre\u00A0: K");
        QVERIFY(main->findChild<QLabel *>("prompt")->isHidden() && gaugeTimer->isActive() && main->cursor().shape() == Qt::WaitCursor);
        QVERIFY(!action("newGameAction")->isEnabled() && !action("sixLettersAction")->isEnabled() && action("scoresAction")->isEnabled());
        for (Qt::Key k : {Qt::Key_F2, Qt::Key_Return, Qt::Key_Backspace}) // F2 locked; two wrong keys beep
            key(k);
        QCOMPARE(ts->beeper.count, 2);
        ts->clock.now += 400;
        typeText(main, QStringLiteral("k"));
        QCOMPARE(labels("typed itemTime gameMini gameAverage absoluteMini personalMini").remove(QRegularExpression("[^|]*(480)[^|]*")), "K|||||");
        QCOMPARE(announced.last() + '|' + said("itemTime") + '|' + said("typed"), "Temps\u00A0: 480 millisecondes|Temps\u00A0: 480 millisecondes|Tapé\u00A0: K");
        QVERIFY(said("absoluteMini").contains("Paul, 480") && said("personalAverage").contains("pas encore") && said("gameAverage").endsWith("480 millisecondes"));
        QVERIFY(main->findChild<QLabel *>("prompt")->isVisible() && !gaugeTimer->isActive() && main->cursor().shape() == Qt::ArrowCursor);
        QVERIFY(action("newGameAction")->isEnabled() && action("sixLettersAction")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), focus);
        key(Qt::Key_Space);
        QCOMPARE(said("itemNumber") + '|' + said("typed"), QStringLiteral("Élément 2 sur 20|"));
    }

    void deadKeyCompositionsAreTyped()
    {
        folder->write(QStringLiteral("clvlet6.txt"), QByteArray("b\xEAtise"));
        QVERIFY(startGameOf({"Paul"}));
        action("sixLettersAction")->trigger();
        QVERIFY(action("sixLettersAction")->isChecked() && !action("oneLetterAction")->isChecked());
        key(Qt::Key_Space);
        QCOMPARE(announced.last(), QStringLiteral("Mot\u00A0: bêtise"));
        typeText(main, QStringLiteral("b"));
        QInputMethodEvent composed; // "ê" made with a dead key arrives as a commit
        composed.setCommitString(QStringLiteral("ê"));
        QApplication::sendEvent(main, &composed);
        typeText(main, QStringLiteral("tis"));
        QCOMPARE(labels("item typed"), QStringLiteral("BÊTISE|BÊTIS"));
    }

    // F6 with nobody named asks for the players first; the practice's caption then stands in
    // the prompt's place and stays there while the items are typed.
    void practiceShowsItsCharacters()
    {
        QVERIFY(startGame());
        const QPoint place = main->findChild<QLabel *>("prompt")->pos();
        namePlayers({"Paul"});
        key(Qt::Key_F6);
        QVERIFY(app->session().hasPlayer() && app->session().isPractice());
        const QString caption = labels("prompt");
        QVERIFY2(caption.startsWith(QStringLiteral("Entraînement")), qPrintable(caption));
        key(Qt::Key_Space);
        QCOMPARE(labels("itemNumber prompt"), "1|" + caption);
        QVERIFY(main->findChild<QLabel *>("prompt")->isVisible() && main->findChild<QLabel *>("prompt")->pos() == place);
    }

    // With the real clock, the time shown is the interval between the showing and the last
    // key, to the millisecond (no record falls, so no file work follows the key).
    void itemTimeIsTheRealInterval()
    {
        folder->write(QStringLiteral("clvfic1.txt"), entryBytes("Anne", 1, 0) + entryBytes("Anne", 0, 1) + entryBytes("Paul", 1, 1));
        SystemClock realClock;
        const Services d = ts->services();
        app = std::make_unique<GameApplication>(Services{realClock, d.wallClock, d.random, d.beeper, d.sound, d.boxes, d.shell, d.end});
        QVERIFY(startGameOf({"Paul"}));
        key(Qt::Key_Space);
        QElapsedTimer interval;
        interval.start();
        QTest::qWait(150);
        typeText(main, labels("item").toLower());
        const qint64 measured = interval.elapsed(), shown = labels("itemTime").toLongLong();
        QVERIFY2(shown >= 150 && qAbs(shown - measured) <= 2, qPrintable(QStringLiteral("%1 shown, %2 measured").arg(shown).arg(measured)));
    }

    // The sound command writes the settings; F1, Escape and Quitter each reach the game,
    // which stops at once after the goodbye; closing the window says goodbye too.
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
        QVERIFY(ts->boxes.shown.size() == 2 && ts->end.ended == 0);
        action("quitAction")->trigger();
        QCOMPARE(ts->end.ended, 1);
        const qsizetype boxes = ts->boxes.shown.size(); // with the goodbye
        key(Qt::Key_F1); // nothing runs any more
        QCOMPARE(ts->boxes.shown.size(), boxes);
        setUpGame();
        QVERIFY(startGame());
        main->close();
        QVERIFY(ts->boxes.shown.size() == 1 && ts->end.ended == 1);
    }

    // A key pressed in an open menu is the menu's, also when the menu hands it on to the
    // menu bar; once the menu is closed the same key is the game's. Rows: the menu opened,
    // the key (a space with no item shown, then the right letter, then a wrong one).
    void keysPressedInAnOpenMenuStayThere()
    {
        QVERIFY(startGameOf({"Paul"}));
        ts->random.fallback = (10 + 0.5) / 26.0; // K, a letter no menu uses
        auto game = [&] { return labels("item typed itemTime") + QString::number(ts->beeper.count); };
        for (const auto &[menu, pressed] : {std::pair{1, ' '}, {2, 'k'}, {0, 'z'}}) {
            if (pressed == 'z')
                key(Qt::Key_Space);
            const QString before = game();
            QMenu *open = main->menuBar()->actions().at(menu)->menu();
            main->menuBar()->setActiveAction(open->menuAction());
            QTRY_COMPARE(QApplication::activePopupWidget(), open);
            QTest::keyClick(open, pressed);
            QCOMPARE(game(), before);
            QCOMPARE(QApplication::activePopupWidget(), open);
            QTest::keyClick(open, Qt::Key_Escape);
            QTest::keyClick(main->menuBar(), pressed);
            QVERIFY2(game() != before, &pressed);
        }
    }

    // The hand-over window starts the next player's game, whose turn is said once the main
    // window is active again; the other windows closing over it leave the game as it is.
    void modalWindowsAndTurns()
    {
        QVERIFY(startGameOf({"Anne", "Bruno"}));
        for (int i = 0; i < 22; ++i) {
            key(Qt::Key_Space);
            typeText(main, labels("item").toLower());
            if (i == 19) { // said once the main window is active again, as the window manager makes it
                main->activateWindow();
                QTRY_VERIFY(announced.contains("Partie terminée. Au tour de Bruno\u00A0: barre espace pour continuer."));
            }
        }
        QCOMPARE(labels("playerName itemNumber"), "Bruno|2");
        int number = 3;
        for (const char *other : {"scoresAction", "aboutAction", "progressionAction"}) {
            whenModal([](QWidget *w) { QTimer::singleShot(0, w, &QWidget::close); });
            action(other)->trigger();
            key(Qt::Key_Space);
            QVERIFY2(labels("itemNumber") == QString::number(number++), other);
            typeText(main, labels("item").toLower());
        }
    }

    // F8 asks for a player first, then opens the course of the player named with the focus
    // on the text to type; the space bar shows an item, which is said, and typing it times it.
    void f8OpensTheCourse()
    {
        QVERIFY(startGame());
        key(Qt::Key_F8);
        QVERIFY(ts->boxes.texts().value(0).startsWith(QStringLiteral("Le cours apprend le clavier à un joueur")));
        app->session().setPlayers({QStringLiteral("Léa")});
        QString title, keys, item, progress;
        Announcements course;
        whenModal([&](QWidget *w) {
            title = w->windowTitle();
            keys = w->findChild<QLabel *>(QStringLiteral("courseKeys"))->text();
            auto *field = w->findChild<TypingField *>();
            course.listen(w);
            if (w->focusWidget() == field) { // where the window puts the keyboard focus
                QTest::keyClick(field, Qt::Key_Space);
                item = field->text();
                QTest::keyClicks(field, item.toLower());
                progress = w->findChild<QLabel *>(QStringLiteral("courseProgress"))->text();
            }
            w->close();
        });
        key(Qt::Key_F8);
        QCOMPARE(title, QStringLiteral("Apprendre le clavier – Léa"));
        QVERIFY2(keys.startsWith(QStringLiteral("Touches apprises\u00A0: 8 sur ")), qPrintable(keys));
        QVERIFY2(item.size() >= 2 && progress.startsWith(QStringLiteral("Élément 1 sur 20 – ")), qPrintable(item + progress));
        const QString spoken = QStringList(item.split(QString(), Qt::SkipEmptyParts)).join(", ");
        QVERIFY2(course.said.contains("Élément 1 sur 20\u00A0: " + spoken), qPrintable(course.said.join('|')));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
