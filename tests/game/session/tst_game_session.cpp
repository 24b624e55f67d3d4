// Guards the game as the main window drives it, without any window: start-up files, a
// whole game's announcements and bytes, players taking turns, modes, the sound switch,
// the end of the program, and the finished games handed to the history.
#include "game/session/GameSession.h"
#include "support/EntryBytes.h"
#include "support/SessionHarness.h"

#include <QDir>
#include <QtTest>

namespace {
const QString kWelcome = QStringLiteral("Bienvenue au Club CLAVIMO !");
const QByteArray kWords = QByteArray("maison\xE9t\xE9 et");
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

    // A folder in the place of a file: one Stop box naming it, nothing created after it.
    void unusableFilesEndCleanly()
    {
        for (const QString &blocked : {QStringLiteral("clvfic1.txt"), QStringLiteral("clavimo.ini")}) {
            Harness h;
            QVERIFY(QDir(h.folder.path()).mkdir(blocked));
            QVERIFY(!h.start());
            QCOMPARE(h.ts.boxes.shown.size(), 1);
            QVERIFY(h.ts.boxes.last().contains(QStringLiteral("«\u00A0%1\u00A0»").arg(blocked)));
            QVERIFY(h.ts.boxes.last().endsWith(QStringLiteral("| Stop")));
            QVERIFY(!h.session->playerFile().isOpen());
            QVERIFY(!QFileInfo(h.folder.file(QStringLiteral("clavimo.ini"))).isFile());
        }
    }

    // A whole game of Paul: each cue then its box, in their order, and the bytes left. The
    // first item takes 500 ms and two wrong keys (600), then 400, 400 and 17 times 450: Mini 400,
    // average 452.
    void wholeGame_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("announced");
        QTest::addColumn<QByteArray>("after");
        const QByteArray anne = entryBytes("Anne", 300, 0) + entryBytes("Anne", 0, 300);
        QTest::newRow("new file") << QByteArray()
                                  << "cparti oui recminab Record mini absolu ! recmin Record mini perso ! oui recminab "
                                     "Record mini absolu ! recmin Record mini perso ! recmoy Record perso moyenne ! "
                                     "recmoyab Record absolu moyenne !"
                                  << entryBytes("Paul", 400, 0) + entryBytes("Paul", 0, 452) + entryBytes("Paul", 400, 452);
        QTest::newRow("absolute records hold") << anne + entryBytes("Paul", 9999, 9999)
                                               << "cparti oui recmin Record mini perso ! oui recmin Record mini perso ! "
                                                  "recmoy Record perso moyenne !"
                                               << anne + entryBytes("Paul", 400, 452);
        QTest::newRow("equal times beat nothing") << anne + entryBytes("Paul", 400, 452) << "cparti oui oui"
                                                  << anne + entryBytes("Paul", 400, 452);
    }
    void wholeGame()
    {
        QFETCH(QByteArray, before);
        Harness h;
        h.folder.write(QStringLiteral("clvfic1.txt"), before);
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        QStringList announced; // the cues played before each box, then its text
        h.ts.boxes.onShow = [&](const ScriptedBoxes::Box &box) {
            announced << h.ts.sound.played.join(QLatin1Char(' ')).remove(QStringLiteral(".wav")) << box.text;
            QCOMPARE(box.toString().section(QLatin1Char('|'), 1), QStringLiteral(" Paul | Ok | Information"));
            h.ts.sound.played.clear();
        };
        h.playItem(500, 2);
        h.playItem(400);
        h.playItem(400);
        for (int i = 3; i < 20; ++i)
            h.playItem(450);
        announced << h.ts.sound.played.join(QLatin1Char(' ')).remove(QStringLiteral(".wav"));
        announced.removeAll(QString());
        QTEST(announced.join(QLatin1Char(' ')), "announced");
        QTEST(h.file("clvfic1.txt"), "after");
        QCOMPARE(h.handOvers, QStringList{QString()});
        h.type(QStringLiteral(" ")); // a single player waits for a new game
        QVERIFY(!h.session->game().isItemShown());
        QCOMPARE(h.labels({"time", "gameMini", "persoMini"}), "450|Mini    :  400|Mini    :  400");
    }

    // Another program on the same folder set better or equal records since this one loaded
    // them: nothing is announced or written over them, and they are shown as the file has them.
    void recordsSetMeanwhileByAnotherProgramStand()
    {
        Harness h;
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        const QByteArray others = entryBytes("Zo\xE9", 660, 0) + entryBytes("Zo\xE9", 0, 200) + entryBytes("Paul", 100, 660);
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

    // Wrong keys beep; Escape asks, and counts as a wrong key when the player stays.
    void escapeAsks()
    {
        for (const bool confirm : {false, true}) {
            Harness h;
            QVERIFY(h.startGame({QStringLiteral("Paul")}));
            h.type(QStringLiteral(" \r\b "));
            QCOMPARE(h.ts.beeper.count, 3);
            h.ts.boxes.answers = {confirm ? BoxAnswer::Ok : BoxAnswer::Cancel};
            h.type(QString(QChar(27)));
            QCOMPARE(h.ts.boxes.last(), "Allez, encore un peu ! | Clavimo | OkCancel | Exclamation");
            QCOMPARE(h.ts.end.ended, confirm ? 1 : 0);
            QCOMPARE(h.session->game().wrongKeys(), qint64(confirm ? 3 : 4));
            const qsizetype boxes = h.ts.boxes.shown.size();
            h.session->sayGoodbye(); // said once only
            QCOMPARE(h.ts.boxes.shown.size(), boxes + (confirm ? 0 : 1));
        }
    }

    // "escape|window, sound on|off, ms the cue still lasts > ms the end waits": the files
    // are closed first, and the end waits for the goodbye cue only while it is heard.
    void endWaitsForTheGoodbye()
    {
        const int m = GameSession::kEndMarginMs;
        const QStringList rows = {"escape on 698 > " + QString::number(698 + m), "escape off 698 > 0", "escape on 0 > 0",
                                  "window on 0 > 0", "window on 120 > " + QString::number(120 + m), "window off 120 > 0"};
        for (const QString &row : rows) {
            const QStringList f = row.split(QLatin1Char(' '));
            Harness h;
            QVERIFY(h.startGame({QStringLiteral("Paul")}));
            if (f[1] == QLatin1String("off"))
                h.session->toggleSound();
            h.ts.sound.remaining = f[2].toInt();
            bool filesOpenAtEnd = true;
            h.ts.end.atEnd = [&] { filesOpenAtEnd = h.session->playerFile().isOpen() || h.session->wordList().isOpen(); };
            if (f[0] == QLatin1String("escape"))
                h.type(QString(QChar(27)));
            else
                h.session->sayGoodbye();
            QVERIFY2(h.ts.end.waits == QList<int>{f[4].toInt()}, qPrintable(row));
            QVERIFY(!filesOpenAtEnd);
            QCOMPARE(h.ts.sound.played.contains(QStringLiteral("aurevoir.wav")), f[1] == QLatin1String("on"));
            if (f[0] == QLatin1String("window"))
                QCOMPARE(h.ts.boxes.last(), "Au revoir et à bientôt ! | Clavimo | Ok | None");
        }
    }

    // The settings file as found, whether the cues play, the menu's check mark, and the
    // file after the switch. A wrong key beeps whatever the switch; Help beeps with it.
    void soundSwitch_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("state"); // "on|off checked|unchecked"
        QTest::addColumn<QByteArray>("switched");
        QTest::newRow("new file") << QByteArray() << "on checked" << QByteArray("\x00\x00", 2);
        QTest::newRow("off") << QByteArray("\x00\x00", 2) << "off unchecked" << QByteArray("\xFF\xFF");
        QTest::newRow("damaged") << QByteArray("\x05\x00", 2) << "on unchecked" << QByteArray("\xFF\xFF");
    }
    void soundSwitch()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, state);
        Harness h;
        if (!settings.isEmpty())
            h.folder.write(QStringLiteral("clavimo.ini"), settings);
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        const bool on = state.startsWith(QLatin1String("on")), checked = state.endsWith(QLatin1String(" checked"));
        QCOMPARE(h.session->soundChecked(), checked);
        h.session->help();
        QCOMPARE(h.ts.boxes.last().section(QLatin1Char('|'), 1), " Clavimo | Ok | Question");
        h.playItem(300, 1);
        QCOMPARE(h.ts.beeper.count, on ? 2 : 1);
        QCOMPARE(h.ts.sound.played.size(), on ? 4 : 0); // start, game best, absolute and personal Mini
        h.session->toggleSound();
        QTEST(h.file("clavimo.ini"), "switched");
        h.session->help();
        QCOMPARE(h.ts.beeper.count, (on ? 2 : 1) + (checked ? 0 : 1));
    }

    // The six-letter mode: its own counters and record file; the list opens with the mode.
    void sixLetterWords()
    {
        Harness h;
        h.folder.write(QStringLiteral("clvlet6.txt"), kWords);
        QVERIFY(h.startGame({QStringLiteral("Zoé")}));
        h.playItem(300);
        h.session->selectMode(6);
        QCOMPARE(h.session->game().itemCount(), 0);
        QVERIFY(h.session->game().isRunning());
        QCOMPARE(h.ts.boxes.texts().last(), kWelcome); // a record per mode
        h.ts.random.values = {0.99};
        h.playItem(1100);
        QCOMPARE(h.shown["item"], QStringLiteral("ÉTÉ ET"));
        for (int i = 2; i <= 20; ++i)
            h.playItem(2000);
        QCOMPARE(h.file("clvfic6.txt"),
                 entryBytes("Zo\xE9", 1100, 0) + entryBytes("Zo\xE9", 0, 1955) + entryBytes("Zo\xE9", 1100, 1955));
        h.session->selectMode(1);
        QVERIFY(!h.session->wordList().isOpen());
        QCOMPARE(h.session->playerFile().path(), QStringLiteral("clvfic1.txt"));
    }

    // An empty list in the working folder comes before the shipped one, and is explained
    // when a word is needed, not when the mode is chosen.
    void emptyWordListIsExplainedWhenAWordIsNeeded()
    {
        Harness h;
        h.folder.write(QStringLiteral("clvlet6.txt"), QByteArray());
        QVERIFY(h.startGame({QStringLiteral("Paul")}));
        h.session->selectMode(6);
        QCOMPARE(h.ts.boxes.shown.size(), 2);
        h.type(QStringLiteral(" "));
        QVERIFY(!h.session->game().isItemShown());
        QVERIFY(h.ts.boxes.last().contains(QStringLiteral("«\u00A0clvlet6.txt\u00A0»")));
        QVERIFY(h.ts.boxes.last().endsWith(QStringLiteral("| Exclamation")));
    }

    // Turns pass in order and wrap; another window closing over the game keeps it going.
    // A name outside the code page is shown as typed and stored with "?".
    void threePlayersTakeTurns()
    {
        Harness h;
        const QStringList order = {QStringLiteral("Anne"), QStringLiteral("Bruno"), QStringLiteral("łukasz")};
        QVERIFY(h.startGame(order));
        for (int turn = 0; turn < 3; ++turn) {
            QCOMPARE(h.shown["player"], turn == 2 ? QStringLiteral("Łukasz") : order[turn]);
            for (int i = 0; i < 20; ++i) {
                h.playItem(300 + turn);
                h.session->activate(false);
            }
        }
        QCOMPARE(h.handOvers, (QStringList{QStringLiteral("Bruno"), QStringLiteral("Łukasz"), QStringLiteral("Anne")}));
        QVERIFY(!h.session->game().isRunning()); // back at the first player: wait for a new game
        QCOMPARE(h.file("clvfic1.txt").mid(38),
                 entryBytes("Anne", 300, 300) + entryBytes("Bruno", 301, 301) + entryBytes("?ukasz", 302, 302));
    }

    // "items played, interruption, items played > modes of the games stored": only a game
    // played to its 20th item since its counters last started reaches the history.
    void gamesReachingTheHistory()
    {
        const QStringList rows = {"20 - 0 > 1", "19 new 0 > ", "19 new 20 > 1", "7 mode 13 > ", "7 mode 20 > 6", "10 quit 0 > "};
        for (const QString &row : rows) {
            const QStringList f = row.split(QLatin1Char(' '));
            Harness h;
            h.folder.write(QStringLiteral("clvlet6.txt"), kWords);
            QVERIFY(h.startGame({QStringLiteral("Paul")}));
            for (int i = 0; i < f[0].toInt(); ++i)
                h.playItem(300);
            if (f[1] == QLatin1String("new"))
                h.session->newGame();
            else if (f[1] == QLatin1String("mode"))
                h.session->selectMode(6);
            else if (f[1] == QLatin1String("quit"))
                h.session->quit();
            for (int i = 0; i < f[2].toInt(); ++i)
                h.playItem(300);
            QString modes;
            for (const FinishedGame &game : h.history.games)
                modes += QString::number(game.mode) + (game.items.size() == 20 ? "" : "!");
            QVERIFY2(modes == f.value(4), qPrintable(row + " gave " + modes));
        }
    }
};

QTEST_GUILESS_MAIN(TestGameSession)
#include "tst_game_session.moc"
