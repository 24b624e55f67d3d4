// Guards the score of one game: which keys count as right, the item time from the start
// and end ticks with a tenth added per wrong key (rounded down, never below 1 ms), the
// game's best time and its average rounded down.
#include "game/TypingGame.h"
#include "game/WordList.h"
#include "support/TestDoubles.h"

#include <QtTest>

namespace {

// One item: the random number that draws it, the keys typed and the ticks between the
// showing and the last key.
struct Item
{
    double r;
    QString keys;
    qint64 raw;
};

// A game over a word list of "maison" and "été et", with a clock and random numbers that
// the test moves.
struct Game
{
    ScratchFolder folder;
    WordList words;
    ScriptedClock clock;
    ScriptedRandom random;
    TypingGame game{clock, random};

    explicit Game(int mode)
    {
        folder.write(QStringLiteral("words"), "maison\xE9t\xE9 et");
        QVERIFY(words.open(QStringLiteral("words")));
        game.setMode(mode);
        game.setWordList(&words);
        game.resetScores();
    }
};

} // namespace

Q_DECLARE_METATYPE(QList<Item>)

class TestTypingGame : public QObject
{
    Q_OBJECT

private slots:
    // Each item's result as "time mini average", with "*" when it is a new best of the game.
    void items_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<Item>>("items");
        QTest::addColumn<QString>("results");
        const double k = (10 + 0.5) / 26; // draws "K"
        QTest::newRow("right letter, lower case accepted") << 1 << QList<Item>{{k, "k", 400}} << "400 400 400*";
        QTest::newRow("each wrong key adds a tenth, rounded down") << 1 << QList<Item>{{k, "#\r\b k", 409}} << "572 572 572*";
        QTest::newRow("exact tenths") << 1 << QList<Item>{{k, "#k", 30}} << "33 33 33*";
        QTest::newRow("ten wrong keys double") << 1 << QList<Item>{{k, "##########k", 777}} << "1554 1554 1554*";
        QTest::newRow("long item beyond 16 bits, no best above 9999")
            << 1 << QList<Item>{{k, "###k", 40000}} << "52000 9999 52000";
        QTest::newRow("no time at all counts 1 ms, wrong keys or not")
            << 1 << QList<Item>{{0.0, "a", 0}, {0.0, "#####a", 0}} << "1 1 1*, 1 1 1";
        QTest::newRow("an equal time is no new best, the average rounds down")
            << 1 << QList<Item>{{0.0, "a", 600}, {0.0, "a", 400}, {0.0, "a", 400}, {0.0, "a", 401}}
            << "600 600 600*, 400 400 500*, 400 400 466, 401 400 450";
        // "ÉTÉ ET": E is not É, and the space inside the word is typed like any letter.
        QTest::newRow("a word with accents and a space")
            << 6 << QList<Item>{{0.99, QStringLiteral("eété eT"), 1000}} << "1100 1100 1100*";
    }
    void items()
    {
        QFETCH(int, mode);
        QFETCH(QList<Item>, items);
        Game g(mode);
        TypingGame &game = g.game;
        QStringList results;
        for (const Item &item : items) {
            g.random.values = {item.r};
            const QString shown = game.drawNextItem();
            QCOMPARE(shown.size(), mode);
            game.startTiming();
            g.clock.now += item.raw;
            TypingGame::KeyResult last = TypingGame::KeyResult::Wrong;
            for (QChar c : item.keys) {
                QVERIFY(last != TypingGame::KeyResult::Completed);
                last = game.typeCharacter(c);
            }
            QCOMPARE(last, TypingGame::KeyResult::Completed);
            QCOMPARE(game.typed(), shown);
            const TypingGame::ItemResult r = game.completeItem();
            QCOMPARE(game.wrongKeys(), qint64(0));
            QVERIFY(!game.isItemShown());
            results << QStringLiteral("%1 %2 %3%4").arg(r.time).arg(r.mini).arg(r.average).arg(r.newGameBest ? "*" : "");
        }
        QTEST(results.join(QStringLiteral(", ")), "results");
    }

    // Each wrong key is kept with the character that was due, both as the game compares
    // them; the item keeps its times once completed.
    void playedItemsKeepTheirWrongKeys_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected"); // the character due at each wrong key
        QTest::addColumn<QString>("typed");
        QTest::newRow("letter") << 1 << QStringLiteral("b\x1b\rz") << QStringLiteral("ZZZ") << QStringLiteral("B\x1b\r");
        QTest::newRow("word: accents count, the space is due like a letter")
            << 6 << QStringLiteral("eét#é- et") << QStringLiteral("ÉÉ ") << QStringLiteral("E#-");
        QTest::newRow("no mistake") << 1 << QStringLiteral("z") << QString() << QString();
    }
    void playedItemsKeepTheirWrongKeys()
    {
        QFETCH(int, mode);
        QFETCH(QString, keys);
        Game g(mode);
        TypingGame &game = g.game;
        g.random.values = {0.999};
        game.drawNextItem();
        game.startTiming();
        for (QChar c : keys)
            game.typeCharacter(c);
        g.clock.now += 300;
        game.completeItem();
        QCOMPARE(game.playedItems().size(), 1);
        const PlayedItem &item = game.playedItems().first();
        QCOMPARE(item.shown, game.item());
        QString expected, typed;
        for (const Mistake &m : item.mistakes) {
            expected += m.expected;
            typed += m.typed;
        }
        QTEST(expected, "expected");
        QTEST(typed, "typed");
        QCOMPARE(item.rawMs, qint64(300));
        QCOMPARE(item.timeMs, 300 + item.mistakes.size() * 30);
        game.resetScores();
        QVERIFY(game.playedItems().isEmpty());
    }

    void drawsEveryLetterEvenly()
    {
        ScriptedClock clock;
        ScriptedRandom random;
        TypingGame game(clock, random);
        QString letters;
        for (int i = 0; i < 26; ++i) {
            random.values = {(i + 0.999) / 26};
            letters += game.drawNextItem();
        }
        QCOMPARE(letters, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        QCOMPARE(game.itemCount(), 26);
    }

    void sixLettersNeedAUsableList()
    {
        ScriptedClock clock;
        ScriptedRandom random;
        TypingGame game(clock, random);
        QVERIFY(game.canDrawItem());
        game.setMode(6);
        QVERIFY(!game.canDrawItem());
        WordList closed;
        game.setWordList(&closed);
        QVERIFY(!game.canDrawItem());
    }
};

QTEST_GUILESS_MAIN(TestTypingGame)
#include "tst_typing_game.moc"
