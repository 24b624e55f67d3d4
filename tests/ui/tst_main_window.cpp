// Guards the main window's wiring: what it shows of the game, the keys and menu commands it
// hands on (dead keys included, none from an open menu), and the modal windows it opens:
// the keyboard course on F8; Progression on F5 and « La classe » on F7 over the current
// player and mode, with the sentence when there is nothing to show, what the chart, the
// table and the keyboard panel are given, Tab through every control, the arrow keys on the
// chart and its choice of all games, the class table's sort and Enter, and the export both
// share: cancelled, refused with a box, or the file written.
#include "adapters/XkbKeyboards.h"
#include "game/keyboard/KeyboardLayouts.h"
#include "game/progress/HistoryCsv.h"
#include "platform/SystemClock.h"
#include "support/EntryBytes.h"
#include "support/GameSamples.h"
#include "support/GameUnderTest.h"
#include "ui/ClassTableModel.h"
#include "ui/ClassWindow.h"
#include "ui/CsvExport.h"
#include "ui/ProgressionWindow.h"
#include "ui/SplashWindow.h"
#include "ui/TypingField.h"

#include <QAction>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTableWidget>
#include <QXYSeries>

namespace {

const QDateTime kDay(QDate(2026, 11, 2), QTime(17, 0), Qt::UTC);

QString text(QWidget *w, const char *label) { return w->findChild<QLabel *>(QLatin1String(label))->text(); }

// The series of the chart with their points, or the sentence shown in its place; the rows of the table.
QString page(QWidget *w)
{
    if (w->findChild<QLabel *>(QStringLiteral("emptySentence"))->isVisibleTo(w))
        return text(w, "emptySentence").section(' ', 3);
    QStringList series;
    for (QAbstractSeries *s : w->findChild<QChartView *>()->chart()->series())
        series << QStringLiteral("%1 %2").arg(s->name()).arg(static_cast<QXYSeries *>(s)->count());
    return series.join(',') + QStringLiteral(", %1 rows").arg(w->findChild<QTableWidget *>()->rowCount());
}

// The column of a table as shown, top to bottom.
QString column(QTableView *table, int c)
{
    QStringList out;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        out << table->model()->index(row, c).data().toString();
    return out.join(QLatin1Char(','));
}

} // namespace

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
    // The layout remembered between runs goes to a settings folder of the test's own.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", configFolder_.path().toLocal8Bit()); }
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

    // Rows: the main window's player and mode (empty: nobody yet), then what the window shows:
    // player, mode, the page, the controls Tab visits from the player, the page after
    // choosing the last player, then the other mode.
    void f5OpensItOverTheMainWindow()
    {
        const QString rows[][2] = {
            {"", "|1 lettre|pour l'instant.|playerBox modeBox closeButton playerBox|pour l'instant.|pour l'instant."},
            {"Zoé 6", "Zoé|6 lettres|pour ce joueur dans ce mode.|playerBox modeBox exportButton closeButton playerBox|pour ce joueur "
                      "dans ce mode.|Moyenne 2,Mini 2,Partie choisie 0, 2 rows"},
            {"Paul 1", "Paul|1 lettre|Moyenne 3,Mini 3,Record moyenne 2,Record mini 2,Partie choisie 0, 3 rows|playerBox modeBox chart lastGames layoutBox "
                       "keyboardMap exportButton closeButton playerBox|Moyenne 2,Mini 2,Partie choisie 0, 2 rows|pour ce joueur dans ce mode."}};
        for (const auto &[named, wanted] : rows) {
            setUpGame();
            folder->write("clvfic1.txt", entryBytes("Paul", 300, 0) + entryBytes("Paul", 0, 400) + entryBytes("Paul", 300, 400));
            QVERIFY(startGame());
            const QString player = named.section(' ', 0, 0);
            if (!named.isEmpty()) {
                // Three games of Paul in which É, every other item, is always missed for an E,
                // and two of Zoé; the players named after them, as the player list dialog does.
                std::mt19937 random(3);
                for (int i = 0; i < 5; ++i) {
                    FinishedGame game = sampleGame(random, i < 3 ? "Paul" : "Zoé", 1, kDay.addDays(i));
                    for (int n = 0; n < 20; ++n)
                        game.items[n] = n % 2 ? PlayedItem{"É", 600, 660, {{u'É', u'E'}}} : PlayedItem{"E", 600, 600, {}};
                    app->history().record(game);
                }
                app->session().setPlayers({player});
                app->session().afterPlayersChosen();
                app->session().selectMode(named.section(' ', 1).toInt());
            }
            QStringList shown;
            QString suggested;
            bool escaped = false;
            whenModal([&](QWidget *modal) {
                auto *w = qobject_cast<ProgressionWindow *>(modal);
                QVERIFY(QTest::qWaitFor([w] { return w->isAncestorOf(QApplication::focusWidget()); }));
                auto *playerBox = w->findChild<QComboBox *>(QStringLiteral("playerBox")), *mode = w->findChild<QComboBox *>(QStringLiteral("modeBox"));
                shown << playerBox->currentText() << mode->currentText() << page(w) << QApplication::focusWidget()->objectName();
                while (shown.size() < 13 && (shown.size() == 4 || shown.last() != shown[3])) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                    shown << QApplication::focusWidget()->objectName();
                }
                shown = shown.first(3) << shown.mid(3).join(' ');
                w->setFileChooser([&](QWidget *, const QString &offered) { return suggested = offered, folder->file("parties.csv"); });
                w->findChild<QPushButton *>(QStringLiteral("exportButton"))->click();
                QVERIFY(player != "Paul" || w->findChild<QLabel *>(QStringLiteral("mostMissed"))->text().contains("É"));
                playerBox->setCurrentIndex(playerBox->count() - 1);
                shown << page(w);
                mode->setCurrentIndex(1 - mode->currentIndex());
                shown << page(w);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                escaped = w->isHidden();
                w->reject(); // so that a failure does not hang the test
            });
            QTest::keyClick(main, Qt::Key_F5);
            QCOMPARE(shown.join('|'), wanted);
            QVERIFY(escaped && main->isVisible() && ts->end.ended == 0);
            // The export: offered under the player's name, the player's games written in the file chosen.
            QCOMPARE(QFileInfo(suggested).fileName(), player.isEmpty() ? QString() : "Clavimo - " + player + ".csv");
            QCOMPARE(folder->read("parties.csv"), player.isEmpty() ? QByteArray() : HistoryCsv::build(app->history().itemLines(player)));
            QVERIFY2(player.isEmpty() || ts->boxes.last().startsWith(QStringLiteral("%1 partie%2 de %3 exportée").arg(player == "Paul" ? 3 : 2).arg("s", player)),
                     qPrintable(ts->boxes.last()));
        }
    }

    // The export as both windows run it. Rows: the file chosen (empty: cancelled), the box.
    void exportWritesWholeOrTells()
    {
        folder->write("fichier", "garde");
        for (const auto &[chosen, box] : {std::pair{"", ""}, {"fichier/x.csv", "^Le fichier «\u00A0.*/fichier/x.csv\u00A0» n'a pas pu être écrit \\(.+\\)\u00A0: "
                                                                                "rien n'est exporté. \\| Clavimo \\| Ok \\| Exclamation$"},
                                          {"x.csv", "^fait .*/x.csv \\| Clavimo \\| Ok \\| Information$"}}) {
            const qsizetype before = ts->boxes.shown.size();
            QString offered;
            exportCsv(nullptr, ts->boxes, [&, chosen = QString(chosen)](QWidget *, const QString &path) { return offered = path, chosen.isEmpty() ? chosen : folder->file(chosen); },
                      "y.csv", [] { return CsvContent{"a;b\n", [](const QString &path) { return "fait " + path; }}; });
            QCOMPARE(offered, QDir::current().filePath("y.csv"));
            QCOMPARE(ts->boxes.shown.size() - before, *box ? 1 : 0);
            QVERIFY2(!*box || QRegularExpression(box).match(ts->boxes.last()).hasMatch(), qPrintable(ts->boxes.last()));
            QCOMPARE(folder->read("fichier") + folder->read("x.csv"), QByteArray(QByteArray(box).contains("fait") ? "gardea;b\n" : "garde"));
        }
    }

    // Practice games: hollow dots of their own, out of the Moyenne and Mini lines, and
    // marked in the table of the last games. Over 50 games the chart shows the latest 50
    // and offers all; the arrow keys on the chart go from game to game, each told under
    // the chart and to a screen reader.
    void practiceGamesAndTheLatest()
    {
        std::mt19937 random(5);
        for (int i = 0; i < 55; ++i) {
            FinishedGame game = sampleGame(random, "Paul", 1, kDay.addSecs(600 * i));
            game.practice = i == 53;
            app->history().record(game);
        }
        XkbKeyboards keyboards;
        GivenKeyboardNames serverKeyboard;
        RememberedLayout memory;
        KeyboardLayouts layouts(keyboards, serverKeyboard, memory);
        ProgressionWindow w(app->history(), ts->boxes, layouts, ts->wallClock, QStringLiteral("Paul"), 1);
        QCOMPARE(page(&w), QStringLiteral("Moyenne 49,Mini 49,Entraînement (moyenne) 1,Partie choisie 0, 50 rows"));
        auto *table = w.findChild<QTableWidget *>(QStringLiteral("lastGames"));
        for (int row = 0; row < table->rowCount(); ++row)
            QVERIFY2(table->item(row, 0)->text().endsWith(QStringLiteral(" (entraînement)")) == (row == 1), qPrintable(QString::number(row)));
        auto *view = w.findChild<QChartView *>();
        QStringList chosen;
        for (Qt::Key key : {Qt::Key_End, Qt::Key_Left, Qt::Key_Home}) {
            QTest::keyClick(view, key);
            chosen << text(&w, "gameFigures").section(',', 0, 0);
        }
        QCOMPARE(chosen, (QStringList{"Partie 55", "Partie 54 (entraînement)", "Partie 6"}));
        QCOMPARE(view->accessibleDescription(), text(&w, "gameFigures"));
        auto *all = w.findChild<QCheckBox *>(QStringLiteral("allGames"));
        QVERIFY(all->isVisibleTo(&w));
        all->click();
        QCOMPARE(page(&w).section(',', 0, 2), QStringLiteral("Moyenne 54,Mini 54,Entraînement (moyenne) 1"));
    }

    // F7 opens « La classe »: those who need attention first, its columns sort, Enter on a
    // row opens that player's progression, and the export writes the table shown.
    void f7OpensTheClass()
    {
        QVERIFY(startGame());
        // Paul played yesterday; Zoé, more games, not for ten days.
        std::mt19937 random(5);
        for (int i = 0; i < 5; ++i)
            app->history().record(sampleGame(random, i < 2 ? "Paul" : "Zoé", 1, ts->wallClock.now.addDays(i < 2 ? -1 : -10)));
        QString shown, opened, exported;
        whenModal([&](QWidget *modal) {
            auto *w = qobject_cast<ClassWindow *>(modal);
            QTableView *table = w->findChild<QTableView *>();
            shown = column(table, ClassTableModel::Player) + " " + column(table, ClassTableModel::Attention);
            table->sortByColumn(ClassTableModel::Player, Qt::AscendingOrder);
            shown += " / " + column(table, ClassTableModel::Player);
            table->sortByColumn(ClassTableModel::Games, Qt::DescendingOrder);
            shown += " / " + column(table, ClassTableModel::Games);
            whenModal([&](QWidget *progression) {
                opened = progression->findChild<QComboBox *>(QStringLiteral("playerBox"))->currentText();
                progression->close();
            });
            table->setFocus();
            QTest::keyClick(table, Qt::Key_Return);
            w->setFileChooser([&](QWidget *, const QString &) { return folder->file("classe.csv"); });
            w->findChild<QPushButton *>(QStringLiteral("exportButton"))->click();
            exported = QString::fromUtf8(folder->read("classe.csv")).section(QLatin1Char('\n'), 1, 1);
            w->reject();
        });
        QTest::keyClick(main, Qt::Key_F7);
        QCOMPARE(shown, QStringLiteral("Zoé,Paul \u26A0 aucune partie depuis 7\u00A0jours, / Paul,Zoé / 3,2"));
        QCOMPARE(opened, QStringLiteral("Zoé"));
        QVERIFY2(exported.startsWith(QStringLiteral("Zoé;aucune partie depuis 7\u00A0jours;0;3;")), qPrintable(exported));
        QVERIFY(ts->boxes.texts().last().startsWith(QStringLiteral("La classe (2\u00A0joueurs, mode 1 lettre) exp")));
    }

private:
    QTemporaryDir configFolder_;
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
