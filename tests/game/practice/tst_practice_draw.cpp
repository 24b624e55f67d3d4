// Guards the choice of a practice game's items: a player's weak characters come far more
// often than in an ordinary game, the draw is even without a history, and no word comes
// twice in a game.
#include "game/practice/PracticeDraw.h"
#include "game/practice/PracticeReport.h"
#include "game/words/WordList.h"
#include "platform/Services.h"

#include <QDir>
#include <QSet>
#include <QtTest>

#include <random>

namespace {

// A seeded generator standing in for the game's random source.
struct SeededRandom : RandomSource
{
    explicit SeededRandom(unsigned seed) : engine(seed) {}
    void seedFromClock() override {}
    double next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine); }
    std::mt19937 engine;
};

QStringList shippedWords()
{
    WordList list;
    if (!list.open(QDir(QStringLiteral(CLAVIMO_BUILD_DATA_DIR)).filePath(WordList::fileName())))
        return {};
    return list.words();
}

bool holdsAny(const QString &item, const QString &characters)
{
    for (QChar c : characters) {
        if (item.contains(c))
            return true;
    }
    return false;
}

// The last 30 games of a player drawn the ordinary way (letters, or words of `words`), in
// which each character of `weak` was missed a third of the times it was due and every other
// one a fiftieth; in the one-letter mode the weak letters were also typed 300 ms slower.
// With `weakDue`, each weak character was due that many times instead (as after earlier
// practice games: K and W are in few words of the list, and W in only 4).
QList<RecentCharacter> madeUpHistory(int mode, const QStringList &words, const QString &weak, unsigned seed,
                                     int weakDue = 0)
{
    SeededRandom random(seed);
    QHash<QChar, RecentCharacter> counts;
    for (int item = 0; item < 30 * 20; ++item) {
        const QString shown = mode == 1 ? QString(QChar(u'A' + int(random.next() * 26)))
                                        : words[qsizetype(random.next() * double(words.size()))];
        for (QChar c : shown) {
            RecentCharacter &r = counts[c];
            r.character = c;
            ++r.expected;
        }
        if (mode == 1) {
            RecentCharacter &r = counts[shown.at(0)];
            ++r.items;
            r.itemMs += weak.contains(shown.at(0)) ? 900 : 600;
        }
    }
    for (RecentCharacter &r : counts) {
        const bool isWeak = weak.contains(r.character.at(0));
        if (isWeak && weakDue > 0)
            r.expected = weakDue;
        r.wrong = isWeak ? (r.expected + 2) / 3 : r.expected / 50;
    }
    for (QChar c : weak) {
        if (weakDue > 0 && !counts.contains(c))
            counts.insert(c, RecentCharacter{QString(c), weakDue, (weakDue + 2) / 3, 0, 0});
    }
    return counts.values();
}

PracticeDraw drawFor(int mode, const QStringList &words, const QList<RecentCharacter> &history)
{
    const QList<QChar> alphabet = mode == 1 ? PracticePlan::letters() : PracticeDraw::alphabetOf(words);
    return PracticeDraw(PracticePlan::build(history, mode, alphabet), words);
}

// The items of `games` games of 20, each game drawing its words afresh.
QList<QStringList> play(PracticeDraw &draw, RandomSource &random, int games)
{
    QList<QStringList> out;
    for (int g = 0; g < games; ++g) {
        draw.restart();
        QStringList items;
        for (int i = 0; i < 20; ++i)
            items << draw.next(random);
        out << items;
    }
    return out;
}

double shareHolding(const QList<QStringList> &games, const QString &characters)
{
    qsizetype holding = 0, all = 0;
    for (const QStringList &items : games) {
        for (const QString &item : items) {
            ++all;
            holding += holdsAny(item, characters) ? 1 : 0;
        }
    }
    return all > 0 ? double(holding) / double(all) : 0.0;
}

} // namespace

Q_DECLARE_METATYPE(QList<RecentCharacter>)

class TestPracticeDraw : public QObject
{
    Q_OBJECT

private slots:
    // With K and W missed a third of the time, most practice items hold one of them, far
    // more than the ordinary draw over the same history gives.
    // "mode seed weakDue least": weakDue 0 means as often as the ordinary draw gave them;
    // least is the share of items holding K or W at least. The shipped list holds only five
    // words with K or W, so a six-letter practice can give them a quarter of its items, still
    // far more than ordinary games, which show K a few times and W hardly ever.
    void weakCharactersComeFarMoreOften_data()
    {
        QTest::addColumn<QString>("row");
        for (const char *row : {"6 1 30 0.20", "6 2 12 0.20", "6 3 0 0.20", "1 4 0 0.60"})
            QTest::newRow(row) << QString::fromLatin1(row);
    }
    void weakCharactersComeFarMoreOften()
    {
        QFETCH(QString, row);
        const QStringList f = row.split(QLatin1Char(' '));
        const int mode = f[0].toInt(), weakDue = f[2].toInt();
        const unsigned seed = f[1].toUInt();
        const double least = f[3].toDouble();
        const QStringList words = shippedWords();
        QVERIFY(words.size() >= 1500);
        const QString weak = QStringLiteral("KW");
        const QList<RecentCharacter> history = madeUpHistory(mode, words, weak, seed, weakDue);

        PracticeDraw practice = drawFor(mode, words, history);
        PracticeDraw ordinary = drawFor(mode, words, {});
        SeededRandom random(seed * 7);
        const double targeted = shareHolding(play(practice, random, 300), weak);
        const double even = shareHolding(play(ordinary, random, 300), weak);
        qInfo("%.1f %% of the practice items hold K or W, %.1f %% of the ordinary ones", 100 * targeted, 100 * even);
        QVERIFY2(targeted >= least, qPrintable(QString::number(targeted)));
        QVERIFY(targeted > 5 * even);
        QVERIFY(practice.plan().practised().contains(u'K'));
        QVERIFY(weakDue == 0 || practice.plan().practised().contains(u'W'));
        QVERIFY(practice.plan().practised().size() <= PracticePlan::kMostShown);
    }

    // Without a history every letter, or every word, is as likely as the others.
    void evenWithoutHistory_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("one letter") << 1 << QStringList();
        QTest::newRow("six letters") << 6 << QStringList{"MAISON", "JARDIN", "KAYAKS", "ÉCOLES", "GARÇON", "CHEVAL"};
    }
    void evenWithoutHistory()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, words);
        PracticeDraw draw = drawFor(mode, words, {});
        QVERIFY(!draw.plan().hasHistory());
        QVERIFY(draw.plan().practised().isEmpty());
        SeededRandom random(11);
        QHash<QString, int> counts;
        const int draws = 26000;
        for (int i = 0; i < draws; ++i) {
            draw.restart(); // the first item of each game, so that the words left do not matter
            ++counts[draw.next(random)];
        }
        const int kinds = mode == 1 ? 26 : int(words.size());
        QCOMPARE(counts.size(), kinds);
        const double expected = double(draws) / kinds;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            QVERIFY2(std::abs(it.value() - expected) < 0.15 * expected, qPrintable(it.key()));
    }

    // A word is never drawn twice in a game, with or without a history, even when the
    // weak characters are held by few words.
    void noWordTwiceInAGame()
    {
        const QStringList words = shippedWords();
        for (const bool withHistory : {true, false}) {
            const QList<RecentCharacter> history = withHistory ? madeUpHistory(6, words, QStringLiteral("KW"), 5)
                                                               : QList<RecentCharacter>();
            PracticeDraw draw = drawFor(6, words, history);
            SeededRandom random(17);
            for (const QStringList &items : play(draw, random, 200)) {
                QCOMPARE(QSet<QString>(items.cbegin(), items.cend()).size(), 20);
                for (const QString &item : items)
                    QVERIFY(words.contains(item));
            }
        }
    }

    // The smoothing: a character seen twice and missed once weighs less than one missed a
    // third of the time over many tries, and more than one never missed.
    // "due wrong aboveK aboveE" for Q, beside K (10 wrong keys out of 30) and E (2 out of 200).
    void smoothingTrustsCountsNotLuck_data()
    {
        QTest::addColumn<QString>("row");
        for (const char *row : {"2 1 0 1", "2 0 0 1", "40 20 1 1", "0 0 0 1"})
            QTest::newRow(row) << QString::fromLatin1(row);
    }
    void smoothingTrustsCountsNotLuck()
    {
        QFETCH(QString, row);
        const QStringList f = row.split(QLatin1Char(' '));
        const qint64 due = f[0].toLongLong(), wrong = f[1].toLongLong();
        const bool aboveK = f[2] == QLatin1String("1"), aboveE = f[3] == QLatin1String("1");
        QList<RecentCharacter> history{{QStringLiteral("K"), 30, 10, 30, 18000},
                                       {QStringLiteral("E"), 200, 2, 200, 120000},
                                       {QStringLiteral("Q"), due, wrong, due, due * 600}};
        for (char16_t c = u'A'; c <= u'Z'; ++c) {
            if (c != u'K' && c != u'E' && c != u'Q')
                history << RecentCharacter{QString(QChar(c)), 25, 0, 25, 15000};
        }
        const PracticePlan plan = PracticePlan::build(history, 1, PracticePlan::letters());
        // Rates rather than shares: the shares of the weakest ones are held at the limit.
        auto rate = [&plan](QChar c) {
            for (const PracticePlan::Figures &f : plan.figures()) {
                if (f.character == c)
                    return f.smoothedRate;
            }
            return -1.0;
        };
        QCOMPARE(rate(u'Q') > rate(u'K'), aboveK);
        QCOMPARE(rate(u'Q') > rate(u'E'), aboveE);
        QCOMPARE(plan.share(u'Q') > plan.share(u'E'), aboveE);
        double total = 0;
        for (const PracticePlan::Figures &f : plan.figures()) {
            total += f.share;
            QVERIFY(f.share <= PracticePlan::kMostShare + 1e-9);
        }
        QCOMPARE(qRound(total * 1e6), 1000000);
        QCOMPARE(plan.rateBefore(u'K'), 10.0 / 30.0);
        QCOMPARE(plan.rateBefore(u'Q') < 0, due == 0);
    }

    // In the one-letter mode a letter typed slowly, never missed, is practised too.
    void slowLettersArePractised()
    {
        QList<RecentCharacter> history;
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            history << RecentCharacter{QString(QChar(c)), 25, 1, 25, (c == u'J' ? 1200 : 500) * 25};
        const PracticePlan plan = PracticePlan::build(history, 1, PracticePlan::letters());
        QCOMPARE(plan.practised(), QList<QChar>{u'J'});
        const PracticePlan sixLetters = PracticePlan::build(history, 6, PracticePlan::letters());
        QVERIFY(sixLetters.practised().isEmpty());
    }

    // What the player reads: the practised characters while the game runs, then each one's
    // rate before and in this game, in French with its no-break spaces.
    void reportWords_data()
    {
        QTest::addColumn<QList<RecentCharacter>>("history");
        QTest::addColumn<QStringList>("items"); // each "#" before a character: missed once
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("summary");
        QList<RecentCharacter> even;
        for (QChar c : QStringLiteral("ABCDEFGHIJ"))
            even << RecentCharacter{QString(c), 30, 1, 0, 0};
        QList<RecentCharacter> weak = even;
        weak[0].wrong = 5;                                         // A: one time in six
        weak << RecentCharacter{QStringLiteral(" "), 30, 20, 0, 0}; // a space inside words
        QTest::newRow("nothing stands out") << even << QStringList{"ABCDEF"} << "Entraînement\u00A0: tirage égal" << "";
        QTest::newRow("no history") << QList<RecentCharacter>{} << QStringList{"ABCDEF"}
                                    << "Entraînement\u00A0: tirage égal" << "";
        QTest::newRow("weak A and space")
            << weak << QStringList{"#ABCDEF", "A CDEF"}
            << "Entraînement\u00A0: espace A"
            << "Entraînement terminé.\nespace\u00A0: 67\u00A0% de fautes avant, 0\u00A0% dans cette partie\n"
               "A\u00A0: 17\u00A0% de fautes avant, 50\u00A0% dans cette partie";
        QTest::newRow("missed more often than due")
            << weak << QStringList{"###ABCDEF", "BCDEF"} << "Entraînement\u00A0: espace A"
            << "Entraînement terminé.\nespace\u00A0: 67\u00A0% de fautes avant, pas demandé dans cette partie\n"
               "A\u00A0: 17\u00A0% de fautes avant, 300\u00A0% dans cette partie (3\u00A0fautes pour 1\u00A0fois demandé)";
        QTest::newRow("not drawn in this game")
            << weak << QStringList{"BCDEFG"} << "Entraînement\u00A0: espace A"
            << "Entraînement terminé.\nespace\u00A0: 67\u00A0% de fautes avant, pas demandé dans cette partie\n"
               "A\u00A0: 17\u00A0% de fautes avant, pas demandé dans cette partie";
    }
    void reportWords()
    {
        QFETCH(QList<RecentCharacter>, history);
        QFETCH(QStringList, items);
        QList<QChar> alphabet;
        for (QChar c : QStringLiteral("ABCDEFGHIJ "))
            alphabet << c;
        const PracticePlan plan = PracticePlan::build(history, 6, alphabet);
        QList<PlayedItem> played;
        for (QString item : items) {
            PlayedItem p;
            qsizetype misses = 0;
            while (item.startsWith(QLatin1Char('#'))) {
                item.remove(0, 1);
                ++misses;
            }
            for (qsizetype i = 0; i < misses; ++i)
                p.mistakes << Mistake{item.at(0), u'#'};
            p.shown = item;
            played << p;
        }
        QTEST(PracticeReport::caption(plan), "caption");
        QTEST(PracticeReport::summary(plan, played), "summary");
    }

    // The same random numbers give the same items: the draw takes nothing from elsewhere.
    void theGameRandomSourceDecides()
    {
        const QStringList words = shippedWords();
        const QList<RecentCharacter> history = madeUpHistory(6, words, QStringLiteral("KW"), 9);
        PracticeDraw first = drawFor(6, words, history), second = drawFor(6, words, history);
        SeededRandom a(23), b(23), c(24);
        const QList<QStringList> once = play(first, a, 3);
        QCOMPARE(play(second, b, 3), once);
        QVERIFY(play(second, c, 3) != once);
    }
};

QTEST_GUILESS_MAIN(TestPracticeDraw)
#include "tst_practice_draw.moc"
