// Guards the game as the main window drives it, without any window: start-up files, new
// games, items typed with right and wrong keys, records announced and written byte for
// byte, players taking turns, modes, the sound switch, quitting, and the finished games
// handed to the history.
#include "game/GameSession.h"
#include "game/PlayerNames.h"
#include "support/RecordBytes.h"
#include "support/SessionHarness.h"

#include <QDir>
#include <QtTest>

#include <memory>

namespace {

const QByteArray kPlaceholders = recordBytes("xxxxx", 9999, 0) + recordBytes("xxxxx", 0, 9999);
// Two words, "maison" and "été et" (with a space), windows-1252.
const QByteArray kWords("maison\xE9t\xE9 et");

} // namespace

class TestGameSession : public QObject
{
    Q_OBJECT

private slots:
    void firstStartInAnEmptyFolder()
    {
        Harness h;
        QVERIFY(h.start());
        QCOMPARE(h.file("clavimo.ini"), QByteArray("\xFF\xFF"));
        QCOMPARE(h.file("clvfic1.txt"), kPlaceholders);
        QCOMPARE(h.ts.sound.played, QStringList{QStringLiteral("cparti.wav")});
        QCOMPARE(h.ts.random.seeds, 1);
        QCOMPARE(h.maximised, 1);
        QVERIFY(!h.session->hasPlayer() && h.session->soundChecked());
        QCOMPARE(h.shown["absMini"], QStringLiteral("xxxxx           Mini :     9999"));
        QCOMPARE(h.shown["absAverage"], QStringLiteral("xxxxx          Moyenne :  9999"));
        h.type(QStringLiteral(" ")); // no game yet
        QVERIFY(!h.session->game().isItemShown());
        QVERIFY(h.ts.boxes.shown.isEmpty());
    }

    void unusableFilesEndCleanly_data()
    {
        QTest::addColumn<QString>("blocked");
        QTest::newRow("record file") << QStringLiteral("clvfic1.txt");
        QTest::newRow("settings file") << QStringLiteral("clavimo.ini");
    }
    void unusableFilesEndCleanly()
    {
        QFETCH(QString, blocked);
        Harness h;
        QVERIFY(QDir(h.folder.path()).mkdir(blocked));
        QVERIFY(!h.start());
        QCOMPARE(h.boxes().size(), 1);
        QVERIFY(h.lastBox().text.contains(QStringLiteral("« %1 »").arg(blocked)));
        QCOMPARE(h.lastBox().icon, BoxIcon::Stop);
        QVERIFY(!h.session->playerFile().isOpen());
        // Nothing is created after a file that failed.
        if (blocked == QLatin1String("clvfic1.txt"))
            QVERIFY(!QFile::exists(h.folder.file(QStringLiteral("clavimo.ini"))));
    }

    void newPlayerIsWelcomedOnce()
    {
        Harness h;
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        QCOMPARE(h.shown["player"], QStringLiteral("Paul"));
        QCOMPARE(h.shown["prompt"], QStringLiteral("Barre espace pour continuer"));
        QCOMPARE(h.boxes(), QStringList{QStringLiteral("Bienvenue au Club CLAVIMO !")});
        QCOMPARE(h.lastBox().title, QStringLiteral("Paul"));
        QCOMPARE(h.lastBox().icon, BoxIcon::Information);
        QCOMPARE(h.file("clvfic1.txt"), kPlaceholders + recordBytes("Paul", 9999, 9999));
        QCOMPARE(h.shown["persoMini"], QStringLiteral("Mini    :  9999"));
        QCOMPARE(h.shown["persoAverage"], QStringLiteral("Moyenne :  9999"));
    }

    void namesInOtherScriptsAreCapitalisedButStoredAsBefore()
    {
        Harness h;
        h.folder.write(QStringLiteral("clvfic1.txt"), kPlaceholders + recordBytes("?ukasz", 500, 600));
        QVERIFY(h.start());
        h.choosePlayers({QStringLiteral("łukasz")});
        QCOMPARE(h.shown["player"], QStringLiteral("Łukasz"));
        QVERIFY(h.ts.boxes.shown.isEmpty()); // found again on what is stored
        QCOMPARE(h.shown["persoMini"], QStringLiteral("Mini    :  500"));
        h.choosePlayers({QStringLiteral("дима")});
        QCOMPARE(h.lastBox().title, QStringLiteral("Дима"));
        QCOMPARE(h.file("clvfic1.txt").mid(57), recordBytes("????", 9999, 9999));
    }

    // A whole game of one player: what is announced, in which order, and the bytes left.
    void wholeGame_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QList<qint64>>("raw"); // 20 item times, before the penalty
        QTest::addColumn<int>("wrongFirst");    // wrong keys in the first item
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("sounds");
        QTest::addColumn<QByteArray>("after");

        QList<qint64> game{500, 400, 400};
        while (game.size() < 20)
            game << 450; // (600 + 2 * 400 + 17 * 450) / 20 = 452
        const QString absMini = QStringLiteral("Record mini absolu !"), persoMini = QStringLiteral("Record mini perso !");
        const QString persoAvg = QStringLiteral("Record perso moyenne !"), absAvg = QStringLiteral("Record absolu moyenne !");
        QTest::newRow("new file: every record falls")
            << QByteArray() << game << 2
            << QStringList{QStringLiteral("Bienvenue au Club CLAVIMO !"), absMini, persoMini, absMini, persoMini, persoAvg, absAvg}
            << QStringList{"cparti.wav", "oui.wav", "recminab.wav", "recmin.wav", "oui.wav", "recminab.wav", "recmin.wav",
                           "recmoy.wav", "recmoyab.wav"}
            << recordBytes("Paul", 400, 0) + recordBytes("Paul", 0, 452) + recordBytes("Paul", 400, 452);
        const QByteArray strong = recordBytes("Anne", 300, 0) + recordBytes("Anne", 0, 300);
        QTest::newRow("absolute records hold, personal ones fall")
            << strong + recordBytes("Paul", 9999, 9999) << game << 2
            << QStringList{persoMini, persoMini, persoAvg}
            << QStringList{"cparti.wav", "oui.wav", "recmin.wav", "oui.wav", "recmin.wav", "recmoy.wav"}
            << strong + recordBytes("Paul", 400, 452);
        QList<qint64> equal(20, 300);
        QTest::newRow("equal times beat nothing")
            << strong + recordBytes("Paul", 300, 300) << equal << 0 << QStringList{}
            << QStringList{"cparti.wav", "oui.wav"} << strong + recordBytes("Paul", 300, 300);
    }
    void wholeGame()
    {
        QFETCH(QByteArray, before);
        QFETCH(QList<qint64>, raw);
        QFETCH(int, wrongFirst);
        Harness h;
        h.folder.write(QStringLiteral("clvfic1.txt"), before);
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        for (int i = 0; i < raw.size(); ++i)
            h.playItem(raw[i], i == 0 ? wrongFirst : 0);
        QTEST(h.boxes(), "boxes");
        for (const ScriptedBoxes::Box &box : h.ts.boxes.shown)
            QCOMPARE(box.title, QStringLiteral("Paul"));
        QTEST(h.ts.sound.played, "sounds");
        QTEST(h.file("clvfic1.txt"), "after");
        QCOMPARE(h.handOvers, QStringList{QString()});
        QVERIFY(!h.session->game().isRunning());
        h.type(QStringLiteral(" ")); // a single player waits for a new game
        QVERIFY(!h.session->game().isItemShown());
    }

    // Another program on the same folder set better records since this one loaded them:
    // nothing is announced or written over them, and they are shown as the file has them.
    void recordsSetMeanwhileByAnotherProgramStand()
    {
        Harness h;
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        const QByteArray others = recordBytes("Zo\xE9", 150, 0) + recordBytes("Zo\xE9", 0, 200);
        const QByteArray paul = recordBytes("Paul", 100, 210);
        h.folder.write(QStringLiteral("clvfic1.txt"), others + paul);
        h.ts.boxes.shown.clear();
        h.ts.sound.played.clear();
        for (int i = 0; i < 20; ++i)
            h.playItem(660);
        QCOMPARE(h.boxes(), QStringList());
        QCOMPARE(h.ts.sound.played, QStringList{QStringLiteral("oui.wav")});
        QCOMPARE(h.file("clvfic1.txt"), others + paul);
        QCOMPARE(h.shown["absMini"], QStringLiteral("Zoé             Mini :     150"));
        QCOMPARE(h.shown["absAverage"], QStringLiteral("Zoé            Moyenne :  200"));
        QCOMPARE(h.shown["persoMini"], QStringLiteral("Mini    :  100"));
        QCOMPARE(h.shown["persoAverage"], QStringLiteral("Moyenne :  210"));
    }

    void captionsAfterRecordsFall()
    {
        Harness h;
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        h.playItem(500, 2); // 600 with the penalty
        QCOMPARE(h.shown["time"], QStringLiteral("600"));
        QCOMPARE(h.shown["gameMini"], QStringLiteral("Mini    :  600"));
        QCOMPARE(h.shown["gameAverage"], QStringLiteral("Moyenne   :  600"));
        QCOMPARE(h.shown["absMini"], QStringLiteral("Paul            Mini    :     600"));
        QCOMPARE(h.shown["persoMini"], QStringLiteral("Mini    :  600"));
        for (int i = 2; i <= 20; ++i)
            h.playItem(450);
        QCOMPARE(h.shown["persoAverage"], QStringLiteral("Moyenne :  457"));
        QCOMPARE(h.shown["absAverage"], QStringLiteral("Paul Moyenne :  457"));
        h.session->selectMode(1); // the absolute records in their loaded form
        QCOMPARE(h.shown["absMini"], QStringLiteral("Paul            Mini :     450"));
        QCOMPARE(h.shown["absAverage"], QStringLiteral("Paul           Moyenne :  457"));
    }

    void wrongKeysBeepAndEscapeAsks_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("Cancel: Escape counts as a wrong key") << false;
        QTest::newRow("OK: the program ends") << true;
    }
    void wrongKeysBeepAndEscapeAsks()
    {
        QFETCH(bool, confirm);
        Harness h;
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        h.type(QStringLiteral(" "));
        h.type(QStringLiteral("\r\b "));
        QCOMPARE(h.ts.beeper.count, 3);
        h.ts.boxes.answers = {confirm ? BoxAnswer::Ok : BoxAnswer::Cancel};
        h.type(QString(QChar(27)));
        QCOMPARE(h.lastBox().text, QStringLiteral("Allez, encore un peu !"));
        QCOMPARE(h.lastBox().buttons, BoxButtons::OkCancel);
        QCOMPARE(h.lastBox().icon, BoxIcon::Exclamation);
        QCOMPARE(h.ts.end.ended, confirm ? 1 : 0);
        QCOMPARE(h.session->game().wrongKeys(), qint64(confirm ? 3 : 4));
        if (confirm) {
            QCOMPARE(h.ts.sound.played.last(), QStringLiteral("aurevoir.wav"));
            QVERIFY(!h.session->playerFile().isOpen());
            const qsizetype boxes = h.boxes().size();
            h.type(QStringLiteral("a")); // nothing runs any more
            h.session->sayGoodbye();
            QCOMPARE(h.boxes().size(), boxes);
        }
    }

    void goodbyeWhenTheWindowCloses()
    {
        Harness h;
        QVERIFY(h.start());
        h.session->sayGoodbye();
        QCOMPARE(h.lastBox().text, QStringLiteral("Au revoir et à bientôt !"));
        QCOMPARE(h.lastBox().icon, BoxIcon::None);
        QCOMPARE(h.ts.sound.played.last(), QStringLiteral("aurevoir.wav"));
        QCOMPARE(h.ts.end.ended, 1);
    }

    void soundSwitch()
    {
        Harness h;
        h.folder.write(QStringLiteral("clavimo.ini"), QByteArray("\x00\x00", 2));
        QVERIFY(h.start());
        QVERIFY(h.ts.sound.played.isEmpty() && !h.session->soundChecked());
        h.session->help();
        QCOMPARE(h.ts.beeper.count, 0);
        QCOMPARE(h.lastBox().text, QStringLiteral("C'est pas assez clair ?..... Désolé j'ai rien d'autre pour le moment !"));
        QCOMPARE(h.lastBox().icon, BoxIcon::Question);
        QCOMPARE(h.lastBox().title, QStringLiteral("Clavimo"));
        h.session->toggleSound();
        QCOMPARE(h.file("clavimo.ini"), QByteArray("\xFF\xFF"));
        h.session->help();
        QCOMPARE(h.ts.beeper.count, 1);
        h.session->toggleSound();
        QCOMPARE(h.file("clavimo.ini"), QByteArray("\x00\x00", 2));
        // With the sound off a wrong key still beeps and no cue is ever asked for.
        h.choosePlayers({QStringLiteral("Paul")});
        h.session->newGame();
        h.playItem(300, 1);
        QCOMPARE(h.ts.beeper.count, 2);
        QVERIFY(h.ts.sound.played.isEmpty());
    }

    void damagedSoundSettingCountsAsOn()
    {
        Harness h;
        h.folder.write(QStringLiteral("clavimo.ini"), QByteArray("\x05\x00", 2));
        QVERIFY(h.start());
        QVERIFY(!h.session->soundChecked());
        QCOMPARE(h.ts.sound.played, QStringList{QStringLiteral("cparti.wav")});
        h.session->toggleSound(); // unchecked, so it switches on
        QCOMPARE(h.file("clavimo.ini"), QByteArray("\xFF\xFF"));
    }

    void sixLetterWords()
    {
        Harness h;
        h.folder.write(QStringLiteral("clvlet6.txt"), kWords);
        QVERIFY(h.startGame({QStringLiteral("Zoé")}));
        h.playItem(300);
        h.session->selectMode(6);
        QCOMPARE(h.session->game().itemCount(), 0); // the counters start again, the game goes on
        QVERIFY(h.session->game().isRunning());
        QCOMPARE(h.lastBox().text, QStringLiteral("Bienvenue au Club CLAVIMO !")); // a record per mode
        QCOMPARE(h.file("clvfic6.txt").size(), 57);
        h.ts.random.values = {0.99};
        h.ts.random.fallback = 0.0;
        h.playItem(1100);
        QCOMPARE(h.shown["item"], QStringLiteral("ÉTÉ ET"));
        for (int i = 2; i <= 20; ++i)
            h.playItem(2000);
        // Zoé's records of the six-letter mode: Mini 1100, average (1100 + 19 * 2000) / 20.
        QCOMPARE(h.file("clvfic6.txt"),
                 recordBytes("Zo\xE9", 1100, 0) + recordBytes("Zo\xE9", 0, 1955) + recordBytes("Zo\xE9", 1100, 1955));
        h.session->selectMode(6); // again: the list stays open, nothing said
        QVERIFY(h.session->wordList().isOpen());
        h.session->selectMode(1);
        QVERIFY(!h.session->wordList().isOpen());
        QCOMPARE(h.session->playerFile().path(), QStringLiteral("clvfic1.txt"));
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
        Harness h;
        // The list of the working folder comes before the one the program ships.
        h.folder.write(QStringLiteral("clvlet6.txt"), content);
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        h.session->selectMode(6);
        QCOMPARE(h.lastBox().text, QStringLiteral("Bienvenue au Club CLAVIMO !")); // the mode itself is silent
        h.type(QStringLiteral(" "));
        QVERIFY(!h.session->game().isItemShown());
        QVERIFY(h.lastBox().text.contains(QStringLiteral("« clvlet6.txt »")));
        QCOMPARE(h.lastBox().icon, BoxIcon::Exclamation);
        h.session->selectMode(1);
        h.type(QStringLiteral(" "));
        QVERIFY(h.session->game().isItemShown());
    }

    void threePlayersTakeTurns()
    {
        Harness h;
        const QStringList order = {QStringLiteral("Anne"), QStringLiteral("Bruno"), QStringLiteral("Chloé")};
        QVERIFY(h.startGame(order));
        for (int turn = 0; turn < 3; ++turn) {
            QCOMPARE(h.shown["player"], order[turn]);
            QVERIFY(h.session->game().isRunning());
            for (int i = 0; i < 20; ++i)
                h.playItem(300 + turn);
        }
        QCOMPARE(h.handOvers, (QStringList{QStringLiteral("Bruno"), QStringLiteral("Chloé"), QStringLiteral("Anne")}));
        QCOMPARE(h.session->turns().current(), 1);
        QCOMPARE(h.shown["player"], QStringLiteral("Anne"));
        QVERIFY(!h.session->game().isRunning()); // back at the first player: wait for a new game
        QCOMPARE(h.file("clvfic1.txt").mid(38),
                 recordBytes("Anne", 300, 300) + recordBytes("Bruno", 301, 301) + recordBytes("Chlo\xE9", 302, 302));
    }

    // Only a game played to its 20th item reaches the history, and only the items of the
    // game as its counters last started.
    void gamesReachingTheHistory_data()
    {
        QTest::addColumn<int>("before");         // items played first
        QTest::addColumn<QString>("interruption");
        QTest::addColumn<int>("after");          // items played then
        QTest::addColumn<QList<int>>("modes");   // the modes of the games stored
        QTest::newRow("a whole game") << 20 << QString() << 0 << QList<int>{1};
        QTest::newRow("left for a new game") << 19 << QStringLiteral("new game") << 0 << QList<int>{};
        QTest::newRow("a new game played to its end") << 19 << QStringLiteral("new game") << 20 << QList<int>{1};
        QTest::newRow("left for the other mode") << 7 << QStringLiteral("mode 6") << 13 << QList<int>{};
        QTest::newRow("the other mode played to its end") << 7 << QStringLiteral("mode 6") << 20 << QList<int>{6};
        QTest::newRow("quit") << 10 << QStringLiteral("quit") << 0 << QList<int>{};
    }
    void gamesReachingTheHistory()
    {
        QFETCH(int, before);
        QFETCH(QString, interruption);
        QFETCH(int, after);
        Harness h;
        h.folder.write(QStringLiteral("clvlet6.txt"), kWords);
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        for (int i = 0; i < before; ++i)
            h.playItem(300);
        if (interruption == QLatin1String("new game"))
            h.session->newGame();
        else if (interruption == QLatin1String("mode 6"))
            h.session->selectMode(6);
        else if (interruption == QLatin1String("quit"))
            h.session->quit();
        for (int i = 0; i < after; ++i)
            h.playItem(300);
        QList<int> modes;
        for (const FinishedGame &game : h.history.games) {
            QCOMPARE(game.items.size(), 20);
            modes << game.mode;
        }
        QTEST(modes, "modes");
    }

    void otherWindowsClosingKeepTheGame()
    {
        Harness h;
        QVERIFY(h.startGame({QStringLiteral("Anne"), QStringLiteral("Bruno")}));
        for (int i = 0; i < 22; ++i)
            h.playItem(300);
        QCOMPARE(h.shown["player"], QStringLiteral("Bruno"));
        h.session->activate(false); // the records list or About closed
        QCOMPARE(h.session->game().itemCount(), 2);
        QVERIFY(h.session->game().isRunning());
    }
};

QTEST_GUILESS_MAIN(TestGameSession)
#include "tst_game_session.moc"
