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

const QString kWelcome = QStringLiteral("Bienvenue au Club CLAVIMO !");

} // namespace

class TestGameSession : public QObject
{
    Q_OBJECT

private slots:
    void firstStartInAnEmptyFolder()
    {
        Harness h;
        QVERIFY(h.start());
        QCOMPARE(h.file("clvfic1.txt"), kPlaceholders);
        QCOMPARE(h.ts.random.seeds, 1);
        QCOMPARE(h.maximised, 1);
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
        QCOMPARE(h.ts.boxes.shown.size(), 1);
        QVERIFY(h.ts.boxes.last().contains(QStringLiteral("«\u00A0%1\u00A0»").arg(blocked)));
        QVERIFY(h.ts.boxes.last().endsWith(QStringLiteral("| Stop")));
        QVERIFY(!h.session->playerFile().isOpen());
        // Nothing is created after a file that failed.
        QVERIFY(!QFileInfo(h.folder.file(QStringLiteral("clavimo.ini"))).isFile());
    }

    void namesInOtherScriptsAreCapitalisedButStoredAsBefore()
    {
        Harness h;
        h.folder.write(QStringLiteral("clvfic1.txt"), kPlaceholders + recordBytes("?ukasz", 500, 600));
        QVERIFY(h.start());
        h.choosePlayers({QStringLiteral("łukasz")});
        QCOMPARE(h.labels({"player", "persoMini"}), "Łukasz|Mini    :  500");
        QVERIFY(h.ts.boxes.shown.isEmpty()); // found again on what is stored
        h.choosePlayers({QStringLiteral("дима")});
        QCOMPARE(h.ts.boxes.shown.last().title, QStringLiteral("Дима"));
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
            << QByteArray() << game << 2 << QStringList{kWelcome, absMini, persoMini, absMini, persoMini, persoAvg, absAvg}
            << QStringList{"cparti.wav", "oui.wav", "recminab.wav", "recmin.wav", "oui.wav", "recminab.wav", "recmin.wav",
                           "recmoy.wav", "recmoyab.wav"}
            << recordBytes("Paul", 400, 0) + recordBytes("Paul", 0, 452) + recordBytes("Paul", 400, 452);
        const QByteArray strong = recordBytes("Anne", 300, 0) + recordBytes("Anne", 0, 300);
        QTest::newRow("absolute records hold, personal ones fall")
            << strong + recordBytes("Paul", 9999, 9999) << game << 2 << QStringList{persoMini, persoMini, persoAvg}
            << QStringList{"cparti.wav", "oui.wav", "recmin.wav", "oui.wav", "recmin.wav", "recmoy.wav"}
            << strong + recordBytes("Paul", 400, 452);
        QTest::newRow("equal times beat nothing") << strong + recordBytes("Paul", 300, 300) << QList<qint64>(20, 300) << 0
                                                  << QStringList{} << QStringList{"cparti.wav", "oui.wav"}
                                                  << strong + recordBytes("Paul", 300, 300);
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
        QTEST(h.ts.boxes.texts(), "boxes");
        for (const ScriptedBoxes::Box &box : h.ts.boxes.shown)
            QCOMPARE(box.toString(), box.text + " | Paul | Ok | Information");
        QTEST(h.ts.sound.played, "sounds");
        QTEST(h.file("clvfic1.txt"), "after");
        QCOMPARE(h.handOvers, QStringList{QString()});
        QVERIFY(!h.session->game().isRunning());
        h.type(QStringLiteral(" ")); // a single player waits for a new game
        QVERIFY(!h.session->game().isItemShown());
    }

    // Another program on the same folder set better or equal records since this one loaded
    // them: nothing is announced or written over them, and they are shown as the file has them.
    void recordsSetMeanwhileByAnotherProgramStand()
    {
        Harness h;
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        const QByteArray others = recordBytes("Zo\xE9", 660, 0) + recordBytes("Zo\xE9", 0, 200) + recordBytes("Paul", 100, 660);
        h.folder.write(QStringLiteral("clvfic1.txt"), others);
        h.ts.boxes.shown.clear();
        h.ts.sound.played.clear();
        for (int i = 0; i < 20; ++i)
            h.playItem(660);
        QCOMPARE(h.ts.boxes.texts(), QStringList());
        QCOMPARE(h.ts.sound.played, QStringList{QStringLiteral("oui.wav")});
        QCOMPARE(h.file("clvfic1.txt"), others);
        QCOMPARE(h.labels({"absMini", "absAverage", "persoMini", "persoAverage"}),
                 "Zoé             Mini :     660|Zoé            Moyenne :  200|Mini    :  100|Moyenne :  660");
    }

    void captionsAsRecordsFall()
    {
        Harness h;
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        QCOMPARE(h.labels({"player", "prompt", "persoMini", "persoAverage"}),
                 "Paul|Barre espace pour continuer|Mini    :  9999|Moyenne :  9999");
        h.playItem(500, 2); // 600 with the penalty
        QCOMPARE(h.labels({"time", "gameMini", "gameAverage", "absMini", "persoMini"}),
                 "600|Mini    :  600|Moyenne   :  600|Paul            Mini    :     600|Mini    :  600");
        for (int i = 2; i <= 20; ++i)
            h.playItem(450);
        QCOMPARE(h.labels({"persoAverage", "absAverage"}), "Moyenne :  457|Paul Moyenne :  457");
        h.session->selectMode(1); // the absolute records in their loaded form
        QCOMPARE(h.labels({"absMini", "absAverage"}), "Paul            Mini :     450|Paul           Moyenne :  457");
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
        h.type(QStringLiteral(" \r\b "));
        QCOMPARE(h.ts.beeper.count, 3);
        h.ts.boxes.answers = {confirm ? BoxAnswer::Ok : BoxAnswer::Cancel};
        h.type(QString(QChar(27)));
        QCOMPARE(h.ts.boxes.last(), "Allez, encore un peu ! | Clavimo | OkCancel | Exclamation");
        QCOMPARE(h.ts.end.ended, confirm ? 1 : 0);
        QCOMPARE(h.session->game().wrongKeys(), qint64(confirm ? 3 : 4));
        if (confirm) {
            QCOMPARE(h.ts.sound.played.last(), QStringLiteral("aurevoir.wav"));
            QVERIFY(!h.session->playerFile().isOpen());
            const qsizetype boxes = h.ts.boxes.shown.size();
            h.type(QStringLiteral("a")); // nothing runs any more
            h.session->sayGoodbye();
            QCOMPARE(h.ts.boxes.shown.size(), boxes);
        }
    }

    void goodbyeWhenTheWindowCloses()
    {
        Harness h;
        QVERIFY(h.start());
        h.session->sayGoodbye();
        QCOMPARE(h.ts.boxes.last(), "Au revoir et à bientôt ! | Clavimo | Ok | None");
        QCOMPARE(h.ts.sound.played.last(), QStringLiteral("aurevoir.wav"));
        QCOMPARE(h.ts.end.ended, 1);
    }

    // How the program ends after the goodbye: the files are closed before the end is asked
    // for, and the end waits for the cue still to be heard, plus a margin, only when the
    // sound is on and the cue plays.
    void endWaitsForTheGoodbye_data()
    {
        QTest::addColumn<bool>("byEscape"); // otherwise the window is closed
        QTest::addColumn<bool>("soundOn");
        QTest::addColumn<int>("cueLeft");   // ms the player says the cue still lasts
        QTest::addColumn<int>("wait");      // ms the end waits (0: at once)
        const int m = GameSession::kEndMarginMs;
        QTest::newRow("Escape, OK: after the goodbye") << true << true << 698 << 698 + m;
        QTest::newRow("Escape, OK, sound off: at once") << true << false << 698 << 0;
        QTest::newRow("Escape, OK, cue not played: at once") << true << true << 0 << 0;
        QTest::newRow("window closed, cue over when OK: at once") << false << true << 0 << 0;
        QTest::newRow("window closed, cue still playing") << false << true << 120 << 120 + m;
        QTest::newRow("window closed, sound off: at once") << false << false << 120 << 0;
    }
    void endWaitsForTheGoodbye()
    {
        QFETCH(bool, byEscape);
        QFETCH(bool, soundOn);
        QFETCH(int, cueLeft);
        QFETCH(int, wait);
        Harness h;
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        if (!soundOn)
            h.session->toggleSound();
        h.ts.sound.remaining = cueLeft;
        bool filesOpenAtEnd = true;
        h.ts.end.atEnd = [&] {
            filesOpenAtEnd = h.session->playerFile().isOpen() || h.session->wordList().isOpen();
        };
        if (byEscape)
            h.type(QString(QChar(27)));
        else
            h.session->sayGoodbye();
        QCOMPARE(h.ts.end.waits, QList<int>{wait});
        QVERIFY(!filesOpenAtEnd);
        QVERIFY(h.session->isEnded());
        QCOMPARE(h.ts.sound.played.contains(QStringLiteral("aurevoir.wav")), soundOn);
    }

    // The settings file as found, whether the cues play, the menu's check mark, and the
    // file after the switch. A wrong key beeps whatever the switch; Help beeps with it.
    void soundSwitch_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QByteArray>("switched");
        QTest::newRow("new file: on") << QByteArray() << true << true << QByteArray("\x00\x00", 2);
        QTest::newRow("off") << QByteArray("\x00\x00", 2) << false << false << QByteArray("\xFF\xFF");
        QTest::newRow("damaged: unchecked but on") << QByteArray("\x05\x00", 2) << true << false << QByteArray("\xFF\xFF");
    }
    void soundSwitch()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, on);
        QFETCH(bool, checked);
        Harness h;
        if (!settings.isEmpty())
            h.folder.write(QStringLiteral("clavimo.ini"), settings);
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        QCOMPARE(h.session->soundChecked(), checked);
        h.session->help();
        QCOMPARE(h.ts.boxes.last(), "C'est pas assez clair ?..... Désolé j'ai rien d'autre pour le moment ! | Clavimo | Ok | Question");
        h.playItem(300, 1);
        QCOMPARE(h.ts.beeper.count, on ? 2 : 1);
        QCOMPARE(h.ts.sound.played.size(), on ? 4 : 0); // start, game best, absolute and personal Mini
        h.session->toggleSound();
        QTEST(h.file("clavimo.ini"), "switched");
        h.session->help();
        QCOMPARE(h.ts.beeper.count, (on ? 2 : 1) + (checked ? 0 : 1));
    }

    void sixLetterWords()
    {
        Harness h;
        h.folder.write(QStringLiteral("clvlet6.txt"), QByteArray("maison\xE9t\xE9 et"));
        QVERIFY(h.startGame({QStringLiteral("Zoé")}));
        h.playItem(300);
        h.session->selectMode(6);
        QCOMPARE(h.session->game().itemCount(), 0); // the counters start again, the game goes on
        QVERIFY(h.session->game().isRunning());
        QCOMPARE(h.ts.boxes.texts().last(), kWelcome); // a record per mode
        h.ts.random.values = {0.99};
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

    void emptyWordListIsExplainedWhenAWordIsNeeded()
    {
        Harness h;
        // The list of the working folder comes before the one the program ships.
        h.folder.write(QStringLiteral("clvlet6.txt"), QByteArray());
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        h.session->selectMode(6);
        QCOMPARE(h.ts.boxes.texts(), QStringList(2, kWelcome)); // the mode itself is silent
        h.type(QStringLiteral(" "));
        QVERIFY(!h.session->game().isItemShown());
        QVERIFY(h.ts.boxes.last().contains(QStringLiteral("«\u00A0clvlet6.txt\u00A0»")));
        QVERIFY(h.ts.boxes.last().endsWith(QStringLiteral("| Exclamation")));
        h.session->selectMode(1);
        h.type(QStringLiteral(" "));
        QVERIFY(h.session->game().isItemShown());
    }

    // Turns pass in order and wrap; another window closing over the game (records list,
    // About) keeps the game in progress.
    void threePlayersTakeTurns()
    {
        Harness h;
        const QStringList order = {QStringLiteral("Anne"), QStringLiteral("Bruno"), QStringLiteral("Chloé")};
        QVERIFY(h.startGame(order));
        for (int turn = 0; turn < 3; ++turn) {
            QCOMPARE(h.shown["player"], order[turn]);
            for (int i = 0; i < 20; ++i) {
                h.playItem(300 + turn);
                h.session->activate(false);
            }
        }
        QCOMPARE(h.handOvers, (QStringList{QStringLiteral("Bruno"), QStringLiteral("Chloé"), QStringLiteral("Anne")}));
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
        h.folder.write(QStringLiteral("clvlet6.txt"), QByteArray("maison\xE9t\xE9 et"));
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
};

QTEST_GUILESS_MAIN(TestGameSession)
#include "tst_game_session.moc"
