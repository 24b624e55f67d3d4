// Guards the score of one game: which keys count as right, the item time from the start
// and end ticks with a tenth added per wrong key (rounded down, never below 1 ms), the
// game's best time and its average rounded down, and the wrong keys kept per item.
#include "game/session/TypingGame.h"
#include "game/words/WordList.h"
#include "support/TestDoubles.h"

#include <QtTest>

namespace {

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

    // Draws the item with `r`, types `keys` over `raw` ticks and completes it.
    TypingGame::ItemResult play(double r, const QString &keys, qint64 raw)
    {
        random.values = {r};
        const QString shown = game.drawNextItem();
        game.startTiming();
        clock.now += raw;
        TypingGame::KeyResult last = TypingGame::KeyResult::Wrong;
        for (QChar c : keys) {
            if (last == TypingGame::KeyResult::Completed)
                problem += QStringLiteral("keys typed after %1 was complete; ").arg(shown);
            last = game.typeCharacter(c);
        }
        if (last != TypingGame::KeyResult::Completed || game.typed() != shown)
            problem += QStringLiteral("%1 not completed; ").arg(shown);
        return game.completeItem();
    }
    QString problem;
};

} // namespace

class TestTypingGame : public QObject
{
    Q_OBJECT

private slots:
    // "mode: r keys raw, ... > time mini average, ..." with "*" on a new best of the game.
    // r 0.4 draws K, 0 draws A, 0.99 draws "ÉTÉ ET"; # is a wrong key.
    void items()
    {
        for (const QString row : {"1: 0.4 k 400 > 400 400 400*", "1: 0.4 #\r\b_k 409 > 572 572 572*", "1: 0.4 #k 30 > 33 33 33*",
                                  "1: 0.4 ##########k 777 > 1554 1554 1554*", "1: 0.4 ###k 40000 > 52000 9999 52000",
                                  "1: 0 a 0, 0 #####a 0 > 1 1 1*, 1 1 1",
                                  "1: 0 a 600, 0 a 400, 0 a 400, 0 a 401 > 600 600 600*, 400 400 500*, 400 400 466, 401 400 450",
                                  "6: 0.99 eété_eT 1000 > 1100 1100 1100*"}) {
            Game g(row.at(0).digitValue());
            QStringList results;
            for (const QString &item : row.mid(3).section(" > ", 0, 0).split(", ")) {
                const QStringList f = item.split(u' ');
                const TypingGame::ItemResult r = g.play(f[0].toDouble(), QString(f[1]).replace(u'_', u' '), f[2].toLongLong());
                QCOMPARE(g.problem + QString::number(g.game.wrongKeys()), "0");
                results << QStringLiteral("%1 %2 %3%4").arg(r.time).arg(r.mini).arg(r.average).arg(r.newGameBest ? "*" : "");
            }
            QCOMPARE(results.join(", "), row.section(" > ", 1));
        }
    }

    // "mode keys > the characters due at each wrong key / the wrong keys": kept as the game
    // compares them, the space of a word due like a letter.
    void playedItemsKeepTheirWrongKeys()
    {
        for (const QString row : {"1 b\x1b\rz > ZZZ/B\x1b\r", "6 eét#é-_et > ÉÉ /E#-", "1 z > /"}) {
            Game g(row.at(0).digitValue());
            g.play(0.999, row.section(QLatin1Char(' '), 1, 1).replace(QLatin1Char('_'), QLatin1Char(' ')), 300);
            QCOMPARE(g.game.playedItems().size(), 1);
            const PlayedItem &item = g.game.playedItems().first();
            QString expected, typed;
            for (const Mistake &m : item.mistakes) {
                expected += m.expected;
                typed += m.typed;
            }
            QCOMPARE(expected + QLatin1Char('/') + typed, row.section(QStringLiteral(" > "), 1));
            QCOMPARE(g.problem, QString());
            QCOMPARE(item.shown, g.game.item());
            QCOMPARE(item.rawMs, qint64(300));
            QCOMPARE(item.timeMs, 300 + item.mistakes.size() * 30);
            g.game.resetScores();
            QVERIFY(g.game.playedItems().isEmpty());
        }
    }

    // Each letter drawn evenly; the six-letter mode needs a usable list.
    void drawing()
    {
        Game g(1);
        QString letters;
        for (int i = 0; i < 26; ++i) {
            g.random.values = {(i + 0.999) / 26};
            letters += g.game.drawNextItem();
        }
        QCOMPARE(letters + QString::number(g.game.itemCount()), "ABCDEFGHIJKLMNOPQRSTUVWXYZ26");
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
