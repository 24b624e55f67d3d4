// Guards the game as the player meets it in the main window: start-up, new game, items
// typed with right and wrong keys, records announced and written, players taking turns,
// modes, sound switch and quitting, driven with key events on the real windows.
#include "app/Clvglob.h"
#include "app/clavimo.h"
#include "app/debut.h"
#include "players/fini.h"
#include "support/TestServices.h"
#include "support/WindowDriver.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

QByteArray recordBytes(const QByteArray &name, qint16 mini, qint16 average)
{
    QByteArray out = name.leftJustified(15, ' ', true);
    out.append(char(mini & 0xFF)).append(char((mini >> 8) & 0xFF));
    out.append(char(average & 0xFF)).append(char((average >> 8) & 0xFF));
    return out;
}

// The random number that draws `letter` in one-letter mode.
double drawing(char letter)
{
    return (letter - 'A' + 0.5) / 26.0;
}

// Names typed into the player list dialog, each validated with Enter; a second Enter on
// the last name validates the list.
void namePlayers(const QStringList &names)
{
    whenModal([names](QWidget *dialog) {
        auto *combo = dialog->findChild<QComboBox *>();
        QVERIFY(combo);
        for (const QString &name : names) {
            combo->setFocus();
            combo->lineEdit()->selectAll();
            typeText(combo->lineEdit(), name);
            QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        }
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    });
}

} // namespace

class tst_clavimo : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ScratchFolder> folder;
    std::unique_ptr<TestServices> ts;
    std::unique_ptr<clavimo> main;

    clavimo *start()
    {
        debut splash;
        splash.show();
        if (!QTest::qWaitFor([&] { return splash.mainWindow() != nullptr || ts->end.ended > 0; }, 5000))
            return nullptr;
        main.reset(splash.mainWindow());
        main->activateWindow();
        if (!QTest::qWaitForWindowActive(main.get()))
            return nullptr;
        return main.get();
    }

    // Shows an item with the space bar, types `wrong` wrong keys and then the item in
    // lower case, `raw` milliseconds after it was shown.
    void playItem(qint64 raw, int wrong = 0)
    {
        QVERIFY(!main->ItemShown);
        QTest::keyClick(main.get(), Qt::Key_Space);
        QVERIFY(main->ItemShown);
        const QString item = main->Lettre[0]->text();
        for (int i = 0; i < wrong; ++i)
            typeText(main.get(), item.at(0) == QLatin1Char('#') ? QStringLiteral("%") : QStringLiteral("#"));
        ts->clock.now += raw;
        typeText(main.get(), item.toLower());
        QVERIFY(!main->ItemShown);
    }

private slots:
    void init()
    {
        folder = std::make_unique<ScratchFolder>();
        ts = std::make_unique<TestServices>();
        fini::setWaitIntervalForTests(1);
    }

    void cleanup()
    {
        main.reset();
        ts.reset();
        folder.reset();
    }

    void firstStartInAnEmptyFolder()
    {
        QVERIFY(start());
        QCOMPARE(folder->read(QStringLiteral("clavimo.ini")), QByteArray("\xFF\xFF"));
        QCOMPARE(folder->read(QStringLiteral("clvfic1.txt")),
                 recordBytes("xxxxx", 9999, 0) + recordBytes("xxxxx", 0, 9999));
        QCOMPARE(ts->sound.played, QStringList{QStringLiteral("cparti.wav")});
        QCOMPARE(ts->random.seeds, 1);
        QVERIFY(main->isMaximized());
        QCOMPARE(main->windowTitle(), QStringLiteral("Clavimo"));
        QCOMPARE(main->prenom->text(), QStringLiteral("Prénom"));
        QCOMPARE(main->Espace->text(), QStringLiteral("Touche F2 pour commencer"));
        QCOMPARE(main->af_min_abs->text(), QStringLiteral("xxxxx           Mini :     9999"));
        QCOMPARE(main->af_moy_abs->text(), QStringLiteral("xxxxx          Moyenne :  9999"));
        QCOMPARE(main->Lettre[0]->text(), QStringLiteral("?"));
        QVERIFY(main->un->isChecked());
        QVERIFY(!main->six->isChecked());
        QVERIFY(main->son->isChecked());
        QVERIFY(!main->GameRunning);
        // Without a game the space bar does nothing.
        QTest::keyClick(main.get(), Qt::Key_Space);
        QVERIFY(!main->ItemShown);
    }

    void menuCaptionsAndShortcuts()
    {
        QVERIFY(start());
        const QList<QPair<QAction *, QString>> expected = {
            {main->nouveau_jeu, QStringLiteral("&Nouveau jeu")},
            {main->scores, QStringLiteral("&Scores")},
            {main->chgt_joueur, QStringLiteral("Changement de &joueur")},
            {main->quitter, QStringLiteral("&Quitter")},
            {main->un, QStringLiteral("&1 lettre")},
            {main->six, QStringLiteral("&6 lettres")},
            {main->son, QStringLiteral("&Son")},
            {main->aide, QStringLiteral("&Aide")},
            {main->a_propos, QStringLiteral("&A propos de Clavimo ...")},
        };
        for (const auto &[action, caption] : expected)
            QCOMPARE(action->text(), caption);
        QCOMPARE(main->nouveau_jeu->shortcut(), QKeySequence(Qt::Key_F2));
        QCOMPARE(main->scores->shortcut(), QKeySequence(Qt::Key_F3));
        QCOMPARE(main->chgt_joueur->shortcut(), QKeySequence(Qt::Key_F4));
        QCOMPARE(main->aide->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(main->jeu->title(), QStringLiteral("&Jeu"));
        QCOMPARE(main->options->title(), QStringLiteral("&Options"));
        QCOMPARE(main->quoi->title(), QStringLiteral("&?"));
    }

    void soundOffIsKeptAndSilencesCuesButNotWrongKeys()
    {
        folder->write(QStringLiteral("clavimo.ini"), QByteArray("\x00\x00", 2));
        QVERIFY(start());
        QVERIFY(ts->sound.played.isEmpty());
        QVERIFY(!main->son->isChecked());
        QCOMPARE(folder->read(QStringLiteral("clavimo.ini")), QByteArray("\x00\x00", 2));

        main->aide->trigger();
        QCOMPARE(ts->beeper.count, 0);
        QCOMPARE(ts->boxes.shown.last().text,
                 QStringLiteral("C'est pas assez clair ?..... Désolé j'ai rien d'autre pour le moment !"));
        QCOMPARE(ts->boxes.shown.last().icon, BoxIcon::Question);
        QCOMPARE(ts->boxes.shown.last().title, QStringLiteral("Clavimo"));

        namePlayers({QStringLiteral("Paul")});
        QTest::keyClick(main.get(), Qt::Key_F2);
        QTest::keyClick(main.get(), Qt::Key_Space);
        typeText(main.get(), QStringLiteral("#"));
        QCOMPARE(ts->beeper.count, 1);
        QVERIFY(ts->sound.played.isEmpty());
    }

    void soundToggleRewritesTheSettings()
    {
        QVERIFY(start());
        main->son->trigger();
        QVERIFY(!main->son->isChecked());
        QCOMPARE(clvglob().SoundOn, qint16(0));
        QCOMPARE(folder->read(QStringLiteral("clavimo.ini")), QByteArray("\x00\x00", 2));
        main->aide->trigger();
        QCOMPARE(ts->beeper.count, 0);
        main->son->trigger();
        QVERIFY(main->son->isChecked());
        QCOMPARE(folder->read(QStringLiteral("clavimo.ini")), QByteArray("\xFF\xFF"));
        main->aide->trigger();
        QCOMPARE(ts->beeper.count, 1);
    }

    void newGameAsksForPlayersFirst()
    {
        QVERIFY(start());
        namePlayers({QStringLiteral("  paul ")});
        QTest::keyClick(main.get(), Qt::Key_F2);
        QCOMPARE(main->prenom->text(), QStringLiteral("Paul"));
        QCOMPARE(main->Frame2->title(), QStringLiteral("Records Paul"));
        QCOMPARE(clvglob().PlayerList, QStringList{QStringLiteral("Paul")});
        QVERIFY(main->GameRunning);
        QCOMPARE(main->Espace->text(), QStringLiteral("Barre espace pour continuer"));
        QVERIFY(main->Espace->isVisible());
        QCOMPARE(ts->boxes.texts(), QStringList{QStringLiteral("Bienvenue au Club CLAVIMO !")});
        QCOMPARE(ts->boxes.shown.first().title, QStringLiteral("Paul"));
        QCOMPARE(ts->boxes.shown.first().icon, BoxIcon::Information);
        QCOMPARE(folder->read(QStringLiteral("clvfic1.txt")).size(), 57);
        QCOMPARE(folder->read(QStringLiteral("clvfic1.txt")).mid(38), recordBytes("Paul", 9999, 9999));
        QCOMPARE(main->af_min_perso->text(), QStringLiteral("Mini    :  9999"));
        QCOMPARE(main->af_moy_perso->text(), QStringLiteral("Moyenne :  9999"));
    }

    void itemShowsLetterAndLocksCommands()
    {
        QVERIFY(start());
        namePlayers({QStringLiteral("Paul")});
        QTest::keyClick(main.get(), Qt::Key_F2);
        ts->random.values = {drawing('K')};
        QTest::keyClick(main.get(), Qt::Key_Space);
        QCOMPARE(main->Lettre[0]->text(), QStringLiteral("K"));
        QCOMPARE(main->af_nb->text(), QStringLiteral("1"));
        QVERIFY(main->Espace->isHidden());
        QVERIFY(main->Timer1->isActive());
        QCOMPARE(main->cursor().shape(), Qt::WaitCursor);
        for (QAction *a : {main->nouveau_jeu, main->chgt_joueur, main->un, main->six})
            QVERIFY(!a->isEnabled());
        for (QAction *a : {main->scores, main->quitter, main->son, main->aide, main->a_propos})
            QVERIFY(a->isEnabled());

        // The gauge sweeps 0..99 and starts again.
        for (int i = 0; i < 101; ++i)
            main->Timer1_Timer();
        QCOMPARE(main->jauge->value(), 1);

        // Function keys do nothing during an item; Enter, Backspace and space are wrong keys.
        QTest::keyClick(main.get(), Qt::Key_F2);
        QTest::keyClick(main.get(), Qt::Key_Return);
        QTest::keyClick(main.get(), Qt::Key_Backspace);
        QTest::keyClick(main.get(), Qt::Key_Space);
        QCOMPARE(main->ItemErrors, qint64(3));
        QCOMPARE(ts->beeper.count, 3);
        QCOMPARE(main->Lettre[1]->text(), QString());

        ts->clock.now += 400;
        typeText(main.get(), QStringLiteral("k"));
        QCOMPARE(main->Lettre[1]->text(), QStringLiteral("K"));
        QVERIFY(!main->Timer1->isActive());
        QCOMPARE(main->jauge->value(), 1); // stays where it was
        QCOMPARE(main->resultat->text(), QStringLiteral("520"));
        QCOMPARE(main->Af_mini->text(), QStringLiteral("Mini    :  520"));
        QCOMPARE(main->Af_Moyenne->text(), QStringLiteral("Moyenne   :  520"));
        QVERIFY(main->Espace->isVisible());
        QCOMPARE(main->cursor().shape(), Qt::ArrowCursor);
        for (QAction *a : {main->nouveau_jeu, main->chgt_joueur, main->un, main->six})
            QVERIFY(a->isEnabled());
        QCOMPARE(main->ItemErrors, qint64(0));
    }

    void escapeDuringAnItem_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("Cancel counts as a wrong key") << false;
        QTest::newRow("OK ends the program") << true;
    }
    void escapeDuringAnItem()
    {
        QFETCH(bool, confirm);
        QVERIFY(start());
        namePlayers({QStringLiteral("Paul")});
        QTest::keyClick(main.get(), Qt::Key_F2);
        QTest::keyClick(main.get(), Qt::Key_Space);
        const int boxesBefore = ts->boxes.shown.size();
        ts->boxes.answers = {confirm ? BoxAnswer::Ok : BoxAnswer::Cancel};
        QTest::keyClick(main.get(), Qt::Key_Escape);
        QCOMPARE(ts->boxes.shown.size(), boxesBefore + 1);
        const ScriptedBoxes::Box &box = ts->boxes.shown.last();
        QCOMPARE(box.text, QStringLiteral("Allez, encore un peu !"));
        QCOMPARE(box.title, QStringLiteral("Clavimo"));
        QCOMPARE(box.buttons, BoxButtons::OkCancel);
        QCOMPARE(box.icon, BoxIcon::Exclamation);
        if (confirm) {
            QCOMPARE(ts->end.ended, 1);
            QCOMPARE(ts->sound.played.last(), QStringLiteral("aurevoir.wav"));
            QVERIFY(!clvglob().playerFile.isOpen());
            QVERIFY(!clvglob().settingsFile.isOpen());
            QCOMPARE(ts->beeper.count, 0);
            // Nothing else runs once the program is told to end.
            typeText(main.get(), QStringLiteral("a"));
            QCOMPARE(ts->boxes.shown.size(), boxesBefore + 1);
        } else {
            QCOMPARE(ts->end.ended, 0);
            QVERIFY(main->ItemShown);
            QCOMPARE(main->ItemErrors, qint64(1));
            QCOMPARE(ts->beeper.count, 1);
        }
    }

    void closingTheWindowSaysGoodbye()
    {
        QVERIFY(start());
        main->close();
        QCOMPARE(ts->boxes.shown.last().text, QStringLiteral("Au revoir et à bientôt !"));
        QCOMPARE(ts->boxes.shown.last().icon, BoxIcon::None);
        QCOMPARE(ts->boxes.shown.last().buttons, BoxButtons::Ok);
        QCOMPARE(ts->sound.played.last(), QStringLiteral("aurevoir.wav"));
        QCOMPARE(ts->end.ended, 1);
    }

    void wholeOneLetterGameWritesTheRecords()
    {
        QVERIFY(start());
        namePlayers({QStringLiteral("Paul")});
        QTest::keyClick(main.get(), Qt::Key_F2);
        ts->boxes.shown.clear();
        ts->sound.played.clear();

        // Item 1: 500 ms and 2 wrong keys = 600; item 2: 400; then 18 items of 450.
        playItem(500, 2);
        QCOMPARE(ts->boxes.texts(), (QStringList{QStringLiteral("Record mini absolu !"),
                                                 QStringLiteral("Record mini perso !")}));
        QCOMPARE(ts->boxes.shown.first().title, QStringLiteral("Paul"));
        QCOMPARE(ts->sound.played, (QStringList{QStringLiteral("oui.wav"), QStringLiteral("recminab.wav"),
                                                QStringLiteral("recmin.wav")}));
        QCOMPARE(main->af_min_abs->text(), QStringLiteral("Paul            Mini    :     600"));
        QCOMPARE(main->af_min_perso->text(), QStringLiteral("Mini    :  600"));

        playItem(400);
        QCOMPARE(ts->boxes.shown.size(), 4);
        QCOMPARE(main->Af_Moyenne->text(), QStringLiteral("Moyenne   :  500"));
        for (int i = 3; i <= 19; ++i)
            playItem(450);
        QCOMPARE(ts->boxes.shown.size(), 4);
        QVERIFY(main->GameRunning);

        ts->boxes.shown.clear();
        ts->sound.played.clear();
        playItem(450);
        // (600 + 400 + 18 * 450) / 20 = 455
        QCOMPARE(main->af_nb->text(), QStringLiteral("20"));
        QCOMPARE(ts->boxes.texts(), (QStringList{QStringLiteral("Record perso moyenne !"),
                                                 QStringLiteral("Record absolu moyenne !")}));
        QCOMPARE(ts->sound.played, (QStringList{QStringLiteral("recmoy.wav"), QStringLiteral("recmoyab.wav")}));
        QCOMPARE(main->af_moy_perso->text(), QStringLiteral("Moyenne :  455"));
        QCOMPARE(main->af_moy_abs->text(), QStringLiteral("Paul Moyenne :  455"));
        QVERIFY(!main->GameRunning);
        QCOMPARE(clvglob().CurrentPlayer, 1);
        QCOMPARE(folder->read(QStringLiteral("clvfic1.txt")),
                 recordBytes("Paul", 400, 0) + recordBytes("Paul", 0, 455) + recordBytes("Paul", 400, 455));

        // A single player: the space bar does nothing until F2.
        QTest::keyClick(main.get(), Qt::Key_Space);
        QVERIFY(!main->ItemShown);
        QCOMPARE(main->Espace->text(), QStringLiteral("Barre espace pour continuer"));

        // The next mode selection shows the absolute records in their loaded form.
        main->un->trigger();
        QCOMPARE(main->af_min_abs->text(), QStringLiteral("Paul            Mini :     400"));
        QCOMPARE(main->af_moy_abs->text(), QStringLiteral("Paul           Moyenne :  455"));
    }

    void equalTimesDoNotBeatRecords()
    {
        folder->write(QStringLiteral("clvfic1.txt"), recordBytes("Anne", 300, 0) + recordBytes("Anne", 0, 310)
                                                         + recordBytes("Paul", 300, 320));
        QVERIFY(start());
        namePlayers({QStringLiteral("Paul")});
        QTest::keyClick(main.get(), Qt::Key_F2);
        QVERIFY(ts->boxes.shown.isEmpty()); // a returning player is not greeted
        QCOMPARE(main->af_min_perso->text(), QStringLiteral("Mini    :  300"));
        playItem(300);
        QVERIFY(ts->boxes.shown.isEmpty());
        QCOMPARE(ts->sound.played.last(), QStringLiteral("oui.wav"));
        playItem(299);
        QCOMPARE(ts->boxes.texts(), (QStringList{QStringLiteral("Record mini absolu !"),
                                                 QStringLiteral("Record mini perso !")}));
    }

    void sixLetterWords()
    {
        folder->write(QStringLiteral("clvlet6.txt"), Windows1252Bytes());
        QVERIFY(start());
        main->six->trigger();
        QVERIFY(main->six->isChecked());
        QVERIFY(!main->un->isChecked());
        QCOMPARE(main->Lettre[0]->text(), QStringLiteral("??????"));
        QCOMPARE(main->Lettre[0]->font().pointSizeF(), 25.0);
        namePlayers({QStringLiteral("Zoé")});
        QTest::keyClick(main.get(), Qt::Key_F2);
        QVERIFY(QFile::exists(folder->file(QStringLiteral("clvfic6.txt"))));

        ts->random.values = {0.99}; // the second word, "ÉTÉ ET"
        QTest::keyClick(main.get(), Qt::Key_Space);
        QCOMPARE(main->Lettre[0]->text(), QStringLiteral("ÉTÉ ET"));
        typeText(main.get(), QStringLiteral("e")); // "e" is not "É"
        QCOMPARE(ts->beeper.count, 1);
        QCOMPARE(main->CharPos, 1);
        typeText(main.get(), QStringLiteral("été"));
        QCOMPARE(main->Lettre[1]->text(), QStringLiteral("ÉTÉ"));
        typeText(main.get(), QStringLiteral(" e"));
        QVERIFY(main->ItemShown);
        ts->clock.now += 1000;
        typeText(main.get(), QStringLiteral("T"));
        QVERIFY(!main->ItemShown);
        QCOMPARE(main->resultat->text(), QStringLiteral("1100"));
    }

    void sixLettersTwiceKeepsTheListAndOneLetterClosesIt()
    {
        folder->write(QStringLiteral("clvlet6.txt"), Windows1252Bytes());
        QVERIFY(start());
        main->six->trigger();
        QVERIFY(clvglob().wordFile.isOpen());
        const int boxes = ts->boxes.shown.size();
        main->six->trigger();
        QVERIFY(clvglob().wordFile.isOpen());
        QCOMPARE(ts->boxes.shown.size(), boxes);
        main->un->trigger();
        QVERIFY(!clvglob().wordFile.isOpen());
        QCOMPARE(clvglob().playerFile.path(), QStringLiteral("clvfic1.txt"));
    }

    void missingWordListIsExplainedWhenAWordIsNeeded_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("present");
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("only line ends") << QByteArray("\r\n\r\n\r\n") << true;
    }
    void missingWordListIsExplainedWhenAWordIsNeeded()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, present);
        if (present)
            folder->write(QStringLiteral("clvlet6.txt"), content);
        QVERIFY(start());
        namePlayers({QStringLiteral("Paul")});
        QTest::keyClick(main.get(), Qt::Key_F2);
        main->six->trigger();
        // Choosing the mode stays silent about the list (the player is greeted in the mode).
        QCOMPARE(ts->boxes.shown.last().text, QStringLiteral("Bienvenue au Club CLAVIMO !"));
        const int boxes = ts->boxes.shown.size();
        QTest::keyClick(main.get(), Qt::Key_Space);
        QVERIFY(!main->ItemShown);
        QCOMPARE(ts->boxes.shown.size(), boxes + 1);
        QVERIFY(ts->boxes.shown.last().text.contains(QStringLiteral("« clvlet6.txt »")));
        QCOMPARE(ts->boxes.shown.last().icon, BoxIcon::Exclamation);
        QCOMPARE(ts->boxes.shown.last().title, QStringLiteral("Clavimo"));
        QVERIFY(main->Espace->isVisible());
        main->un->trigger();
        QTest::keyClick(main.get(), Qt::Key_Space);
        QVERIFY(main->ItemShown);
    }

    void threePlayersTakeTurns()
    {
        QVERIFY(start());
        namePlayers({QStringLiteral("Anne"), QStringLiteral("Bruno"), QStringLiteral("Chloé")});
        QTest::keyClick(main.get(), Qt::Key_F2);
        QCOMPARE(clvglob().PlayerCount, 3);
        const QStringList order = {QStringLiteral("Anne"), QStringLiteral("Bruno"), QStringLiteral("Chloé")};
        for (int turn = 0; turn < 3; ++turn) {
            QCOMPARE(main->prenom->text(), order[turn]);
            QVERIFY(main->GameRunning);
            for (int i = 0; i < 20; ++i)
                playItem(300 + turn);
        }
        QCOMPARE(clvglob().CurrentPlayer, 1);
        QCOMPARE(main->prenom->text(), QStringLiteral("Anne"));
        QCOMPARE(main->Frame2->title(), QStringLiteral("Records Anne"));
        QVERIFY(!main->GameRunning);
        QTest::keyClick(main.get(), Qt::Key_Space);
        QVERIFY(!main->ItemShown);
        // Each player has a record of their own, in the order they first played.
        const QByteArray bytes = folder->read(QStringLiteral("clvfic1.txt"));
        QCOMPARE(bytes.size(), 19 * 5);
        QCOMPARE(bytes.mid(38, 19), recordBytes("Anne", 300, 300));
        QCOMPARE(bytes.mid(57, 19), recordBytes("Bruno", 301, 301));
        QCOMPARE(bytes.mid(76, 19), recordBytes("Chlo\xE9", 302, 302));
    }

    void closingOtherWindowsDoesNotRestartTheNextPlayersGame_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("records list") << QStringLiteral("scores");
        QTest::newRow("about") << QStringLiteral("a_propos");
    }
    void closingOtherWindowsDoesNotRestartTheNextPlayersGame()
    {
        QFETCH(QString, command);
        QVERIFY(start());
        namePlayers({QStringLiteral("Anne"), QStringLiteral("Bruno")});
        QTest::keyClick(main.get(), Qt::Key_F2);
        for (int i = 0; i < 20; ++i)
            playItem(300);
        QCOMPARE(main->prenom->text(), QStringLiteral("Bruno"));
        playItem(300);
        playItem(300);
        QCOMPARE(main->ItemCount, 2);
        whenModal([](QWidget *w) { QTimer::singleShot(0, w, [w] { w->close(); }); });
        (command == QLatin1String("scores") ? main->scores : main->a_propos)->trigger();
        QCOMPARE(main->ItemCount, 2);
        QCOMPARE(main->af_nb->text(), QStringLiteral("2"));
        QVERIFY(main->GameRunning);
    }

    void changeOfModeBetweenItemsResetsTheCounters()
    {
        folder->write(QStringLiteral("clvlet6.txt"), Windows1252Bytes());
        QVERIFY(start());
        namePlayers({QStringLiteral("Paul")});
        QTest::keyClick(main.get(), Qt::Key_F2);
        playItem(300);
        playItem(300);
        main->six->trigger();
        QCOMPARE(main->ItemCount, 0);
        QCOMPARE(main->af_nb->text(), QStringLiteral("1"));
        QCOMPARE(main->resultat->text(), QStringLiteral("0"));
        QCOMPARE(main->Af_mini->text(), QStringLiteral("Mini"));
        QVERIFY(main->GameRunning);
        // A new record and greeting in the six-letter file.
        QCOMPARE(ts->boxes.shown.last().text, QStringLiteral("Bienvenue au Club CLAVIMO !"));
        QCOMPARE(folder->read(QStringLiteral("clvfic6.txt")).size(), 57);
    }

    void unusableRecordFileEndsCleanly()
    {
        QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("clvfic1.txt")));
        debut splash;
        splash.show();
        QVERIFY(QTest::qWaitFor([&] { return ts->end.ended > 0; }, 5000));
        QVERIFY(!splash.mainWindow());
        QCOMPARE(ts->boxes.shown.size(), 1);
        QVERIFY(ts->boxes.shown.first().text.contains(QStringLiteral("« clvfic1.txt »")));
        QCOMPARE(ts->boxes.shown.first().icon, BoxIcon::Stop);
        QVERIFY(!QFile::exists(folder->file(QStringLiteral("clavimo.ini"))));
    }

private:
    // Two words: "maison" and "été et" (with a space), windows-1252.
    static QByteArray Windows1252Bytes() { return QByteArray("maison\xE9t\xE9 et"); }
};

QTEST_MAIN(tst_clavimo)
#include "tst_clavimo.moc"
