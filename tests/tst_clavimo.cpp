// Guards the game as the player meets it in the main window: start-up, new game, items
// typed with right and wrong keys, records announced and written, players taking turns,
// modes, sound switch and quitting, driven with key events on the real windows.
#include "app/Clvglob.h"
#include "app/clavimo.h"
#include "app/debut.h"
#include "players/fini.h"
#include "support/RecordBytes.h"
#include "support/TestServices.h"
#include "support/WindowDriver.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTest>

#include <memory>

namespace {

const QByteArray kPlaceholders = recordBytes("xxxxx", 9999, 0) + recordBytes("xxxxx", 0, 9999);
// Two words, "maison" and "été et" (with a space), windows-1252.
const QByteArray kWords("maison\xE9t\xE9 et");

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

class tst_clavimo : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScratchFolder> folder;
    std::unique_ptr<TestServices> ts;
    std::unique_ptr<clavimo> main;

    bool start()
    {
        debut splash;
        splash.show();
        if (!QTest::qWaitFor([&] { return splash.mainWindow() || ts->end.ended; }, 5000) || ts->end.ended)
            return false;
        main.reset(splash.mainWindow());
        main->activateWindow();
        return QTest::qWaitForWindowActive(main.get());
    }

    bool startGame(const QStringList &players)
    {
        if (!start())
            return false;
        namePlayers(players);
        QTest::keyClick(main.get(), Qt::Key_F2);
        return main->GameRunning;
    }

    void key(Qt::Key k) { QTest::keyClick(main.get(), k); }

    // Shows an item with the space bar, types `wrong` wrong keys, then the item in lower
    // case `raw` milliseconds after it was shown.
    void playItem(qint64 raw, int wrong = 0)
    {
        key(Qt::Key_Space);
        QVERIFY(main->ItemShown);
        for (int i = 0; i < wrong; ++i)
            typeText(main.get(), QStringLiteral("#"));
        ts->clock.now += raw;
        typeText(main.get(), main->Lettre[0]->text().toLower());
        QVERIFY(!main->ItemShown);
    }

    QStringList boxTexts() const { return ts->boxes.texts(); }
    const ScriptedBoxes::Box &lastBox() const { return ts->boxes.shown.last(); }

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
        QCOMPARE(folder->read(QStringLiteral("clvfic1.txt")), kPlaceholders);
        QCOMPARE(ts->sound.played, QStringList{QStringLiteral("cparti.wav")});
        QCOMPARE(ts->random.seeds, 1);
        QVERIFY(main->isMaximized());
        QCOMPARE(main->prenom->text(), QStringLiteral("Prénom"));
        QCOMPARE(main->Espace->text(), QStringLiteral("Touche F2 pour commencer"));
        QCOMPARE(main->af_min_abs->text(), QStringLiteral("xxxxx           Mini :     9999"));
        QCOMPARE(main->af_moy_abs->text(), QStringLiteral("xxxxx          Moyenne :  9999"));
        QVERIFY(main->un->isChecked() && !main->six->isChecked() && main->son->isChecked());
        const QStringList captions = {main->jeu->title(), main->nouveau_jeu->text(), main->scores->text(),
                                      main->chgt_joueur->text(), main->quitter->text(), main->options->title(),
                                      main->un->text(), main->six->text(), main->son->text(),
                                      main->quoi->title(), main->aide->text(), main->a_propos->text()};
        QCOMPARE(captions.join(QLatin1Char('|')),
                 QStringLiteral("&Jeu|&Nouveau jeu|&Scores|Changement de &joueur|&Quitter|&Options|"
                                "&1 lettre|&6 lettres|&Son|&?|&Aide|&A propos de Clavimo ..."));
        QCOMPARE(main->aide->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(main->chgt_joueur->shortcut(), QKeySequence(Qt::Key_F4));
        key(Qt::Key_Space); // no game yet
        QVERIFY(!main->ItemShown);
    }

    void splashStopsGrowingWhenClicked()
    {
        debut splash;
        ClickWhenWide clicker(50);
        splash.Picture1->installEventFilter(&clicker);
        splash.show();
        QVERIFY(QTest::qWaitFor([&] { return splash.mainWindow() != nullptr; }, 5000));
        main.reset(splash.mainWindow());
        QCOMPARE(splash.width(), 50); // the step that was clicked is the last
    }

    void splashGrowsToItsPicture()
    {
        debut splash;
        splash.show();
        QVERIFY(QTest::qWaitFor([&] { return splash.mainWindow() != nullptr; }, 5000));
        main.reset(splash.mainWindow());
        // One twip of height and 1.33 of width a step, until as wide as the picture.
        QCOMPARE(splash.width(), splash.Picture1->width());
        QVERIFY(qAbs(splash.height() - splash.width() / 1.33) <= 1);
        QVERIFY(splash.growthSteps() > 2700);
        QVERIFY(splash.isHidden());
    }

    void soundSwitch()
    {
        folder->write(QStringLiteral("clavimo.ini"), QByteArray("\x00\x00", 2));
        QVERIFY(start());
        QVERIFY(ts->sound.played.isEmpty());
        QVERIFY(!main->son->isChecked());
        QCOMPARE(folder->read(QStringLiteral("clavimo.ini")), QByteArray("\x00\x00", 2));
        key(Qt::Key_F1);
        QCOMPARE(ts->beeper.count, 0);
        QCOMPARE(lastBox().text, QStringLiteral("C'est pas assez clair ?..... Désolé j'ai rien d'autre pour le moment !"));
        QCOMPARE(lastBox().icon, BoxIcon::Question);
        QCOMPARE(lastBox().title, QStringLiteral("Clavimo"));

        main->son->trigger();
        QVERIFY(main->son->isChecked());
        QCOMPARE(folder->read(QStringLiteral("clavimo.ini")), QByteArray("\xFF\xFF"));
        key(Qt::Key_F1);
        QCOMPARE(ts->beeper.count, 1);
        main->son->trigger();
        QCOMPARE(folder->read(QStringLiteral("clavimo.ini")), QByteArray("\x00\x00", 2));

        // With the sound off a wrong key still beeps and no cue is ever requested.
        namePlayers({QStringLiteral("Paul")});
        key(Qt::Key_F2);
        playItem(300, 1);
        QCOMPARE(ts->beeper.count, 2);
        QVERIFY(ts->sound.played.isEmpty());
    }

    void newGameAsksForPlayersFirst()
    {
        QVERIFY(startGame({QStringLiteral("  paul ")}));
        QCOMPARE(main->prenom->text(), QStringLiteral("Paul"));
        QCOMPARE(main->Frame2->title(), QStringLiteral("Records Paul"));
        QCOMPARE(main->Espace->text(), QStringLiteral("Barre espace pour continuer"));
        QVERIFY(main->Espace->isVisible());
        QCOMPARE(boxTexts(), QStringList{QStringLiteral("Bienvenue au Club CLAVIMO !")});
        QCOMPARE(lastBox().title, QStringLiteral("Paul"));
        QCOMPARE(lastBox().icon, BoxIcon::Information);
        QCOMPARE(folder->read(QStringLiteral("clvfic1.txt")), kPlaceholders + recordBytes("Paul", 9999, 9999));
        QCOMPARE(main->af_min_perso->text(), QStringLiteral("Mini    :  9999"));
        QCOMPARE(main->af_moy_perso->text(), QStringLiteral("Moyenne :  9999"));
    }

    void anItemFromShowToCompletion()
    {
        QVERIFY(startGame({QStringLiteral("Paul")}));
        ts->random.values = {(10 + 0.5) / 26.0};
        key(Qt::Key_Space);
        QCOMPARE(main->Lettre[0]->text(), QStringLiteral("K"));
        QCOMPARE(main->af_nb->text(), QStringLiteral("1"));
        QVERIFY(main->Espace->isHidden() && main->Timer1->isActive());
        QCOMPARE(main->cursor().shape(), Qt::WaitCursor);
        for (QAction *a : {main->nouveau_jeu, main->chgt_joueur, main->un, main->six})
            QVERIFY(!a->isEnabled());
        QVERIFY(main->scores->isEnabled() && main->a_propos->isEnabled());
        for (int i = 0; i < 101; ++i)
            main->Timer1_Timer();
        QCOMPARE(main->jauge->value(), 1);

        // F2 is locked; Enter, Backspace and space are wrong keys that beep and stay put.
        for (Qt::Key k : {Qt::Key_F2, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Space})
            key(k);
        QCOMPARE(main->ItemErrors, qint64(3));
        QCOMPARE(ts->beeper.count, 3);
        QCOMPARE(main->Lettre[1]->text(), QString());

        ts->clock.now += 400;
        typeText(main.get(), QStringLiteral("k"));
        QCOMPARE(main->Lettre[1]->text(), QStringLiteral("K"));
        QVERIFY(!main->Timer1->isActive() && main->Espace->isVisible());
        QCOMPARE(main->jauge->value(), 1);
        QCOMPARE(main->resultat->text(), QStringLiteral("520"));
        QCOMPARE(main->Af_mini->text(), QStringLiteral("Mini    :  520"));
        QCOMPARE(main->Af_Moyenne->text(), QStringLiteral("Moyenne   :  520"));
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
        QVERIFY(startGame({QStringLiteral("Paul")}));
        key(Qt::Key_Space);
        const qsizetype boxes = ts->boxes.shown.size();
        ts->boxes.answers = {confirm ? BoxAnswer::Ok : BoxAnswer::Cancel};
        key(Qt::Key_Escape);
        QCOMPARE(lastBox().text, QStringLiteral("Allez, encore un peu !"));
        QCOMPARE(lastBox().title, QStringLiteral("Clavimo"));
        QCOMPARE(lastBox().buttons, BoxButtons::OkCancel);
        QCOMPARE(lastBox().icon, BoxIcon::Exclamation);
        QCOMPARE(ts->end.ended, confirm ? 1 : 0);
        QCOMPARE(main->ItemErrors, qint64(confirm ? 0 : 1));
        if (confirm) {
            QCOMPARE(ts->sound.played.last(), QStringLiteral("aurevoir.wav"));
            QVERIFY(!clvglob().playerFile.isOpen() && !clvglob().settingsFile.isOpen());
            typeText(main.get(), QStringLiteral("a")); // nothing runs any more
            QCOMPARE(ts->boxes.shown.size(), boxes + 1);
        }
    }

    void closingTheWindowSaysGoodbye()
    {
        QVERIFY(start());
        main->close();
        QCOMPARE(lastBox().text, QStringLiteral("Au revoir et à bientôt !"));
        QCOMPARE(lastBox().icon, BoxIcon::None);
        QCOMPARE(ts->sound.played.last(), QStringLiteral("aurevoir.wav"));
        QCOMPARE(ts->end.ended, 1);
    }

    void wholeGameWritesTheRecords()
    {
        QVERIFY(startGame({QStringLiteral("Paul")}));
        ts->boxes.shown.clear();
        ts->sound.played.clear();
        playItem(500, 2); // 600 with the penalty
        QCOMPARE(boxTexts(), (QStringList{QStringLiteral("Record mini absolu !"), QStringLiteral("Record mini perso !")}));
        QCOMPARE(lastBox().title, QStringLiteral("Paul"));
        QCOMPARE(ts->sound.played, (QStringList{QStringLiteral("oui.wav"), QStringLiteral("recminab.wav"),
                                                QStringLiteral("recmin.wav")}));
        QCOMPARE(main->af_min_abs->text(), QStringLiteral("Paul            Mini    :     600"));
        QCOMPARE(main->af_min_perso->text(), QStringLiteral("Mini    :  600"));
        playItem(400);
        playItem(400); // equal to the game's best: no cue, no record
        QCOMPARE(ts->boxes.shown.size(), 4);
        QCOMPARE(ts->sound.played.size(), 6);
        QCOMPARE(main->Af_Moyenne->text(), QStringLiteral("Moyenne   :  466"));
        for (int i = 4; i <= 19; ++i)
            playItem(450);
        QVERIFY(main->GameRunning);

        ts->boxes.shown.clear();
        ts->sound.played.clear();
        playItem(450); // (600 + 2 * 400 + 17 * 450) / 20 = 452
        QCOMPARE(main->af_nb->text(), QStringLiteral("20"));
        QCOMPARE(boxTexts(), (QStringList{QStringLiteral("Record perso moyenne !"), QStringLiteral("Record absolu moyenne !")}));
        QCOMPARE(ts->sound.played, (QStringList{QStringLiteral("recmoy.wav"), QStringLiteral("recmoyab.wav")}));
        QCOMPARE(main->af_moy_perso->text(), QStringLiteral("Moyenne :  452"));
        QCOMPARE(main->af_moy_abs->text(), QStringLiteral("Paul Moyenne :  452"));
        QVERIFY(!main->GameRunning);
        QCOMPARE(folder->read(QStringLiteral("clvfic1.txt")),
                 recordBytes("Paul", 400, 0) + recordBytes("Paul", 0, 452) + recordBytes("Paul", 400, 452));
        key(Qt::Key_Space); // a single player waits for F2
        QVERIFY(!main->ItemShown);

        main->un->trigger(); // the absolute records in their loaded form
        QCOMPARE(main->af_min_abs->text(), QStringLiteral("Paul            Mini :     400"));
        QCOMPARE(main->af_moy_abs->text(), QStringLiteral("Paul           Moyenne :  452"));
    }

    void equalTimesDoNotBeatRecords()
    {
        folder->write(QStringLiteral("clvfic1.txt"), recordBytes("Anne", 300, 0) + recordBytes("Anne", 0, 310)
                                                         + recordBytes("Paul", 300, 320));
        QVERIFY(startGame({QStringLiteral("Paul")}));
        QVERIFY(ts->boxes.shown.isEmpty()); // a returning player is not greeted
        QCOMPARE(main->af_min_perso->text(), QStringLiteral("Mini    :  300"));
        playItem(300);
        QVERIFY(ts->boxes.shown.isEmpty());
        playItem(299);
        QCOMPARE(boxTexts(), (QStringList{QStringLiteral("Record mini absolu !"), QStringLiteral("Record mini perso !")}));
    }

    void sixLetterWords()
    {
        folder->write(QStringLiteral("clvlet6.txt"), kWords);
        QVERIFY(startGame({QStringLiteral("Zoé")}));
        playItem(300);
        main->six->trigger();
        QVERIFY(main->six->isChecked() && !main->un->isChecked());
        QCOMPARE(main->Lettre[0]->text(), QStringLiteral("??????"));
        QCOMPARE(main->Lettre[0]->font().pointSizeF(), 25.0);
        QCOMPARE(main->ItemCount, 0); // the counters start again, the game goes on
        QVERIFY(main->GameRunning);
        QCOMPARE(lastBox().text, QStringLiteral("Bienvenue au Club CLAVIMO !")); // a record per mode
        QCOMPARE(folder->read(QStringLiteral("clvfic6.txt")).size(), 57);

        ts->random.values = {0.99};
        key(Qt::Key_Space);
        QCOMPARE(main->Lettre[0]->text(), QStringLiteral("ÉTÉ ET"));
        typeText(main.get(), QStringLiteral("e")); // "E" is not "É"
        QCOMPARE(main->CharPos, 1);
        typeText(main.get(), QStringLiteral("é"));
        QInputMethodEvent composed; // "t" then "é" as a dead-key composition would commit them
        composed.setCommitString(QStringLiteral("té"));
        QApplication::sendEvent(main.get(), &composed);
        typeText(main.get(), QStringLiteral(" e"));
        QCOMPARE(main->Lettre[1]->text(), QStringLiteral("ÉTÉ E"));
        ts->clock.now += 1000;
        typeText(main.get(), QStringLiteral("T"));
        QCOMPARE(main->resultat->text(), QStringLiteral("1100"));

        for (int i = 2; i <= 20; ++i)
            playItem(2000);
        QVERIFY(!main->GameRunning);
        // Zoé's records of the six-letter mode: Mini 1100, average (1100 + 19 * 2000) / 20.
        QCOMPARE(folder->read(QStringLiteral("clvfic6.txt")),
                 recordBytes("Zo\xE9", 1100, 0) + recordBytes("Zo\xE9", 0, 1955) + recordBytes("Zo\xE9", 1100, 1955));

        main->six->trigger(); // again: the list stays open, nothing said
        QVERIFY(clvglob().wordFile.isOpen());
        main->un->trigger();
        QVERIFY(!clvglob().wordFile.isOpen());
        QCOMPARE(clvglob().playerFile.path(), QStringLiteral("clvfic1.txt"));
    }

    void missingWordListIsExplainedWhenAWordIsNeeded_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("only line ends") << QByteArray("\r\n\r\n\r\n");
    }
    void missingWordListIsExplainedWhenAWordIsNeeded()
    {
        QFETCH(QByteArray, content);
        // The list of the working folder comes before the one the program ships.
        folder->write(QStringLiteral("clvlet6.txt"), content);
        QVERIFY(startGame({QStringLiteral("Paul")}));
        main->six->trigger();
        QCOMPARE(lastBox().text, QStringLiteral("Bienvenue au Club CLAVIMO !")); // the mode itself is silent
        key(Qt::Key_Space);
        QVERIFY(!main->ItemShown && main->Espace->isVisible());
        QVERIFY(lastBox().text.contains(QStringLiteral("« clvlet6.txt »")));
        QCOMPARE(lastBox().icon, BoxIcon::Exclamation);
        main->un->trigger();
        key(Qt::Key_Space);
        QVERIFY(main->ItemShown);
    }

    void threePlayersTakeTurns()
    {
        const QStringList order = {QStringLiteral("Anne"), QStringLiteral("Bruno"), QStringLiteral("Chloé")};
        QVERIFY(startGame(order));
        for (int turn = 0; turn < 3; ++turn) {
            QCOMPARE(main->prenom->text(), order[turn]);
            QVERIFY(main->GameRunning);
            for (int i = 0; i < 20; ++i)
                playItem(300 + turn);
        }
        QCOMPARE(clvglob().CurrentPlayer, 1);
        QCOMPARE(main->Frame2->title(), QStringLiteral("Records Anne"));
        QVERIFY(!main->GameRunning);
        QCOMPARE(folder->read(QStringLiteral("clvfic1.txt")).mid(38),
                 recordBytes("Anne", 300, 300) + recordBytes("Bruno", 301, 301) + recordBytes("Chlo\xE9", 302, 302));
    }

    void closingOtherWindowsDoesNotRestartTheNextPlayersGame_data()
    {
        QTest::addColumn<bool>("about");
        QTest::newRow("records list") << false;
        QTest::newRow("about") << true;
    }
    void closingOtherWindowsDoesNotRestartTheNextPlayersGame()
    {
        QFETCH(bool, about);
        QVERIFY(startGame({QStringLiteral("Anne"), QStringLiteral("Bruno")}));
        for (int i = 0; i < 22; ++i)
            playItem(300);
        QCOMPARE(main->prenom->text(), QStringLiteral("Bruno"));
        whenModal([](QWidget *w) { QTimer::singleShot(0, w, &QWidget::close); });
        (about ? main->a_propos : main->scores)->trigger();
        QCOMPARE(main->ItemCount, 2);
        QVERIFY(main->GameRunning);
    }

    void unusableRecordFileEndsCleanly()
    {
        QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("clvfic1.txt")));
        QVERIFY(!start());
        QCOMPARE(ts->boxes.shown.size(), 1);
        QVERIFY(lastBox().text.contains(QStringLiteral("« clvfic1.txt »")));
        QCOMPARE(lastBox().icon, BoxIcon::Stop);
        QVERIFY(!QFile::exists(folder->file(QStringLiteral("clavimo.ini"))));
    }
};

QTEST_MAIN(tst_clavimo)
#include "tst_clavimo.moc"
