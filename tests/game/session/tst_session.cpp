// Guards one game's score (keys, item times with their penalty, Mini and average) and the
// session around it: the files at start-up, a game's cues, boxes and bytes, turns, modes,
// the sound switch and its file, the end of the program, and the games given to the history.
#include "game/session/TypingGame.h"
#include "game/words/WordList.h"
#include "support/EntryBytes.h"
#include "support/SessionHarness.h"

#include <QDir>
#include <QtTest>

// A word list of "maison" and "été et".
static const QByteArray kWords = QByteArray("maison\xE9t\xE9 et");

class TestSession : public QObject
{
    Q_OBJECT

private slots:
    // "mode: r keys raw, ... > time mini average, ..." with "*" on a new best of the game, then
    // the characters due at each wrong key "/" the wrong keys as kept (upper case), the space
    // of a word due like a letter. r 0.4 draws K, 0 draws A, 0.9999 Z, 0.99 "ÉTÉ ET"; # is a wrong key.
    void itemsAndTheSession()
    {
        for (const QString row : {"1: 0.4 k 400 > 400 400 400*", "1: 0.9999 z 1 > 1 1 1*", "1: 0.4 #\r\b_k 409 > 572 572 572* KKKK/#\r\b ",
                                  "1: 0.4 #k 30 > 33 33 33* K/#", "1: 0.99 b\x1b\rz 300 > 390 390 390* ZZZ/B\x1b\r",
                                  "1: 0.4 ##########k 777 > 1554 1554 1554* KKKKKKKKKK/##########",
                                  "1: 0.4 ###k 40000 > 52000 9999 52000 KKK/###", "1: 0 a 0, 0 #####a 0 > 1 1 1*, 1 1 1 AAAAA/#####",
                                  "1: 0 a 600, 0 a 400, 0 a 400, 0 a 401 > 600 600 600*, 400 400 500*, 400 400 466, 401 400 450",
                                  "6: 0.99 eété_eT 1000 > 1100 1100 1100* É/E", "6: 0.99 eét#é-_et 300 > 390 390 390* ÉÉ /E#-"}) {
            ScratchFolder folder;
            folder.write(QStringLiteral("words"), kWords);
            WordList words;
            ScriptedClock clock;
            ScriptedRandom random;
            TypingGame game{clock, random};
            QVERIFY(words.open(QStringLiteral("words")));
            game.setMode(row.at(0).digitValue());
            game.setWordList(&words);
            game.resetScores();
            QStringList results;
            for (const QString &item : row.mid(3).section(" > ", 0, 0).split(", ")) {
                const QStringList f = item.split(u' ');
                random.values = {f[0].toDouble()};
                const QString shown = game.drawNextItem(), keys = QString(f[1]).replace(u'_', u' ');
                game.startTiming();
                clock.now += f[2].toLongLong();
                for (qsizetype i = 0; i < keys.size(); ++i) // complete at the last key, not before
                    QCOMPARE(game.typeCharacter(keys[i]) == TypingGame::KeyResult::Completed, i == keys.size() - 1);
                QCOMPARE(game.typed(), shown);
                const TypingGame::ItemResult r = game.completeItem();
                const PlayedItem &played = game.playedItems().last();
                QVERIFY(played.shown == shown && played.rawMs == r.rawMs && played.timeMs == r.time && game.wrongKeys() == 0);
                QString due, typed;
                for (const Mistake &m : played.mistakes) {
                    due += m.expected;
                    typed += m.typed;
                }
                results << QStringLiteral("%1 %2 %3%4").arg(r.time).arg(r.mini).arg(r.average).arg(r.newGameBest ? "*" : "")
                               + (due.isEmpty() ? QString() : " " + due + "/" + typed);
            }
            QCOMPARE(results.join(", "), row.section(" > ", 1));
            QCOMPARE(game.playedItems().size(), results.size());
            game.resetScores();
            QVERIFY(game.playedItems().isEmpty());
        }
        // A new folder gets the placeholders; a folder in the place of a file ends with one Stop
        // box naming it, and nothing created after it.
        Harness fresh;
        QVERIFY(fresh.start());
        QCOMPARE(fresh.file("clvfic1.txt"), kPlaceholders);
        QCOMPARE(fresh.ts.random.seeds, 1);
        fresh.type(QStringLiteral(" ")); // no game yet
        QVERIFY(!fresh.session->game().isItemShown() && fresh.ts.boxes.shown.isEmpty());
        for (const QString blocked : {"clvfic1.txt", "clavimo.ini"}) {
            Harness h;
            QVERIFY(QDir(h.folder.path()).mkdir(blocked));
            QVERIFY(!h.start());
            QCOMPARE(h.ts.boxes.shown.size(), 1);
            QVERIFY(h.ts.boxes.last().contains("«\u00A0" + blocked + "\u00A0»") && h.ts.boxes.last().endsWith("| Stop"));
            QVERIFY(!h.session->playerFile().isOpen() && !QFileInfo(h.folder.file("clavimo.ini")).isFile());
        }
        // "file before, file another program writes once the game started > cues then box texts >
        // file after, labels": Paul's first item takes 500 ms and two wrong keys (600), then 400,
        // 400 and 17 times 450: Mini 400, average 452. Records another program set meanwhile,
        // better or equal, stand: nothing announced or written over them, shown as the file has them.
        const QByteArray anne = entryBytes("Anne", 300, 0) + entryBytes("Anne", 0, 300), paul = entryBytes("Paul", 400, 452);
        const QByteArray others = entryBytes("Zo\xE9", 300, 0) + entryBytes("Zo\xE9", 0, 200) + entryBytes("Paul", 100, 400);
        const QString anneMini = "Anne            Mini :     300";
        const QList<std::tuple<QByteArray, QByteArray, QString, QByteArray, QString>> rows = {
            {{}, {}, "cparti oui recminab Record mini absolu ! recmin Record mini perso ! oui recminab Record mini absolu ! recmin "
                     "Record mini perso ! recmoy Record perso moyenne ! recmoyab Record absolu moyenne !",
             entryBytes("Paul", 400, 0) + entryBytes("Paul", 0, 452) + paul, "400|Paul            Mini    :     400"},
            {anne + entryBytes("Paul", 9999, 9999), {}, "cparti oui recmin Record mini perso ! oui recmin Record mini perso ! recmoy "
                                                        "Record perso moyenne !", anne + paul, "400|" + anneMini},
            {anne + paul, {}, "cparti oui oui", anne + paul, "400|" + anneMini},
            {{}, others, "cparti oui oui", others, "100|Zoé             Mini :     300"}};
        for (const auto &[before, meanwhile, announced, after, labels] : rows) {
            Harness h;
            h.folder.write(QStringLiteral("clvfic1.txt"), before);
            QVERIFY(h.startGame({"Paul"}));
            if (!meanwhile.isEmpty())
                h.folder.write(QStringLiteral("clvfic1.txt"), meanwhile);
            QStringList heard; // the cues played before each box, then its text
            h.ts.boxes.onShow = [&](const ScriptedBoxes::Box &box) {
                heard << h.ts.sound.played.join(u' ').remove(".wav") << box.text;
                QCOMPARE(box.toString().section(u'|', 1), " Paul | Ok | Information");
                h.ts.sound.played.clear();
            };
            h.playItem(500, 2);
            h.playItem(400, 0, 2);
            h.playItem(450, 0, 17);
            heard << h.ts.sound.played.join(u' ').remove(".wav");
            heard.removeAll(QString());
            QCOMPARE(heard.join(u' '), announced);
            QCOMPARE(h.file("clvfic1.txt"), after);
            const QString shown = h.shown["time"] + "|" + h.shown["gameMini"] + "|" + h.shown["persoMini"] + "|" + h.shown["absMini"];
            QCOMPARE(shown + "|" + h.shown["persoAverage"],
                     "450|Mini    :  400|Mini    :  " + labels + "|Moyenne :  " + (meanwhile.isEmpty() ? "452" : "400"));
            h.type(QStringLiteral(" ")); // a single player waits for a new game
            QVERIFY(h.handOvers == QStringList{QString()} && !h.session->game().isItemShown());
        }
    }

    // "settings file > sound on|off, menu checked|unchecked > file after the switch, on disk at
    // once | escape|stay|window, ms the goodbye cue still lasts > ms the end waits": the first
    // two bytes are the switch (a missing one read as 0), the rest kept; a wrong key beeps
    // whatever the switch, Help when it is on. Escape asks (staying counts a wrong key), the
    // files are closed first, the goodbye is said once, and the end waits for the goodbye cue
    // only while it is heard (the switch as switched).
    void soundSwitchAndTheEnd()
    {
        const int m = GameSession::kEndMarginMs;
        const QByteArray off("\0\0", 2);
        const QList<std::tuple<QByteArray, QString, QByteArray, QString>> rows = {
            {{}, "on checked", off, "escape 698 > 0"}, {off, "off unchecked", "\xFF\xFF", "escape 698 > " + QString::number(698 + m)},
            {off, "off unchecked", "\xFF\xFF", "escape 0 > 0"}, {off, "off unchecked", "\xFF\xFF", "stay 0 > "},
            {"\x05", "on unchecked", "\xFF\xFF", "window 120 > " + QString::number(120 + m)},
            {"\xFF\xFF\x12\x34", "on checked", QByteArray("\0\0\x12\x34", 4), "window 120 > 0"}};
        for (const auto &[settings, state, switched, end] : rows) {
            Harness h;
            if (!settings.isEmpty())
                h.folder.write(QStringLiteral("clavimo.ini"), settings);
            QVERIFY(h.startGame({"Paul"}));
            QCOMPARE(h.file("clavimo.ini"), settings.isEmpty() ? QByteArray("\xFF\xFF") : settings);
            const bool on = state.startsWith("on"), checked = state.endsWith(" checked");
            QCOMPARE(h.session->soundChecked(), checked);
            h.session->help();
            QCOMPARE(h.ts.boxes.last().section(u'|', 1), " Clavimo | Ok | Question");
            h.playItem(300, 1);
            QCOMPARE(h.ts.beeper.count, on ? 2 : 1);
            QCOMPARE(h.ts.sound.played.size(), on ? 4 : 0); // start, game best, absolute and personal Mini
            h.session->toggleSound();
            QCOMPARE(h.file("clavimo.ini"), switched);
            h.session->help();
            QCOMPARE(h.ts.beeper.count, (on ? 2 : 1) + (checked ? 0 : 1));
            const QStringList f = end.split(u' ');
            h.type(QStringLiteral(" \r\b"));
            h.ts.sound.remaining = f[1].toInt();
            bool filesOpenAtEnd = true;
            h.ts.end.atEnd = [&] { filesOpenAtEnd = h.session->playerFile().isOpen(); };
            h.ts.boxes.answers = {f[0] == "stay" ? BoxAnswer::Cancel : BoxAnswer::Ok};
            if (f[0] == "window")
                h.session->sayGoodbye();
            else
                h.type(QString(QChar(27)));
            QVERIFY2(h.ts.end.waits == (f[3].isEmpty() ? QList<int>() : QList<int>{f[3].toInt()}), qPrintable(end));
            QCOMPARE(h.ts.boxes.last(), f[0] == "window" ? "Au revoir et à bientôt ! | Clavimo | Ok | None"
                                                          : "Allez, encore un peu ! | Clavimo | OkCancel | Exclamation");
            QCOMPARE(h.session->game().wrongKeys(), qint64(f[0] == "stay" ? 3 : 2));
            QCOMPARE(filesOpenAtEnd, f[0] == "stay");
            QCOMPARE(h.ts.sound.played.contains("aurevoir.wav"), !checked && f[0] != "stay");
            const qsizetype boxes = h.ts.boxes.shown.size();
            h.session->sayGoodbye();
            QCOMPARE(h.ts.boxes.shown.size(), boxes + (f[0] == "stay" ? 1 : 0));
        }
        // An empty list is explained when a word is needed.
        Harness empty;
        empty.folder.write(QStringLiteral("clvlet6.txt"), QByteArray());
        QVERIFY(empty.startGame({"Paul"}));
        empty.session->selectMode(6);
        empty.type(QStringLiteral(" "));
        QVERIFY(!empty.session->game().isItemShown() && empty.ts.boxes.shown.size() == 3);
        QVERIFY(empty.ts.boxes.last().contains("«\u00A0clvlet6.txt\u00A0»") && empty.ts.boxes.last().endsWith("| Exclamation"));
        // Turns pass in order and wrap, each announced by the hand-over; another window closing
        // over the game keeps it going; each player's times go to their own entry.
        Harness three;
        QVERIFY(three.startGame({"Anne", "Bruno", "Chloé"}));
        for (int turn = 0; turn < 3; ++turn) {
            QCOMPARE(three.shown["player"], QStringList({"Anne", "Bruno", "Chloé"})[turn]);
            for (int i = 0; i < 20; ++i) {
                three.playItem(300 + turn);
                three.session->activate(false);
            }
        }
        QCOMPARE(three.handOvers, QStringList({"Bruno", "Chloé", "Anne"}));
        QVERIFY(!three.session->game().isRunning()); // back at the first player: wait for a new game
        QCOMPARE(three.file("clvfic1.txt").mid(38), entryBytes("Anne", 300, 300) + entryBytes("Bruno", 301, 301) + entryBytes("Chlo\xE9", 302, 302));
        // "items played, interruption, items played > modes and first items of the games
        // stored": only a game played to its 20th item since its counters last started reaches
        // the history. The six-letter mode has its own counters and record file, a welcome
        // per mode, items from the list.
        for (const QString row : {"20 - 0 > 1A", "19 new 0 > ", "19 new 20 > 1A", "7 mode 13 > ", "7 mode 20 > 6MAISON",
                                  "10 quit 0 > "}) {
            const QStringList f = row.split(u' ');
            Harness h;
            h.folder.write(QStringLiteral("clvlet6.txt"), kWords);
            QVERIFY(h.startGame({"Paul"}));
            h.playItem(300, 0, f[0].toInt());
            f[1] == "new" ? h.session->newGame() : f[1] == "mode" ? h.session->selectMode(6) : f[1] == "quit" ? h.session->quit() : void();
            h.playItem(300, 0, f[2].toInt());
            QString modes;
            for (const FinishedGame &game : h.history.games)
                modes += QString::number(game.mode) + (game.items.size() == 20 ? "" : "!") + game.items[0].shown;
            QVERIFY2(modes == f.value(4), qPrintable(row + " gave " + modes));
            QCOMPARE(h.ts.boxes.texts().count("Bienvenue au Club CLAVIMO !"), f[1] == "mode" ? 2 : 1);
            if (f[1] == "mode") {
                QCOMPARE(h.file("clvfic6.txt").mid(38), entryBytes("Paul", 300, f[2] == "20" ? 300 : 9999));
                h.session->selectMode(1);
                QCOMPARE(h.session->playerFile().path(), "clvfic1.txt");
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
