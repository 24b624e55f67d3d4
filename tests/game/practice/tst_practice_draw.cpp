// Guards the choice of a practice game's items and what the player reads about it: weak
// characters come far more often, the smoothing trusts counts over luck, the draw is even
// without a history, no word comes twice in a game, and the report's French text.
#include "game/practice/PracticeDraw.h"
#include "game/practice/PracticeReport.h"
#include "game/words/WordList.h"
#include "platform/Services.h"

#include <QDir>
#include <QSet>
#include <QtTest>

#include <random>

namespace {

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
    return list.open(QDir(QStringLiteral(CLAVIMO_BUILD_DATA_DIR)).filePath(WordList::fileName())) ? list.words() : QStringList();
}

// Each character of `alphabet` due `due` times: the `weak` ones missed a third of the time
// (and typed 300 ms slower in the one-letter mode), the others one time in fifty.
QList<RecentCharacter> history(const QList<QChar> &alphabet, const QString &weak, qint64 due, qint64 weakDue)
{
    QList<RecentCharacter> out;
    for (QChar c : alphabet) {
        const bool isWeak = weak.contains(c);
        const qint64 n = isWeak ? weakDue : due;
        out << RecentCharacter{QString(c), n, isWeak ? (n + 2) / 3 : n / 50, n, n * (isWeak ? 900 : 600)};
    }
    return out;
}

PracticeDraw drawFor(int mode, const QStringList &words, const QString &weak, qint64 weakDue = 60)
{
    const QList<QChar> alphabet = mode == 1 ? PracticePlan::letters() : PracticeDraw::alphabetOf(words);
    return PracticeDraw(PracticePlan::build(weak.isEmpty() ? QList<RecentCharacter>() : history(alphabet, weak, 60, weakDue), mode, alphabet),
                        words);
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

double shareHoldingKW(const QList<QStringList> &games)
{
    double holding = 0, all = 0;
    for (const QStringList &items : games)
        for (const QString &item : items) {
            ++all;
            holding += item.contains(u'K') || item.contains(u'W') ? 1 : 0;
        }
    return holding / all;
}

} // namespace

class TestPracticeDraw : public QObject
{
    Q_OBJECT

private slots:
    // "mode weakDue least": the share of items holding K or W at least, with K and W missed
    // a third of the time; the shipped list has few words with K or W, so a quarter is much.
    void weakCharactersComeFarMoreOften()
    {
        const QStringList words = shippedWords();
        QVERIFY(words.size() >= 1500);
        for (const QString row : {"6 60 0.20", "6 12 0.20", "1 60 0.60"}) {
            const QStringList f = row.split(u' ');
            const int mode = f[0].toInt();
            PracticeDraw practice = drawFor(mode, words, QStringLiteral("KW"), f[1].toInt());
            PracticeDraw ordinary = drawFor(mode, words, QString());
            SeededRandom random(7);
            const double targeted = shareHoldingKW(play(practice, random, 300));
            const double even = shareHoldingKW(play(ordinary, random, 300));
            QVERIFY2(targeted >= f[2].toDouble() && targeted > 5 * even, qPrintable(row + " " + QString::number(targeted)));
            QVERIFY(practice.plan().practised().contains(u'K') && practice.plan().practised().contains(u'W'));
            QVERIFY(practice.plan().practised().size() <= PracticePlan::kMostShown);
        }
    }

    // Without a history every letter, or every word, is as likely as the others.
    void evenWithoutHistory()
    {
        for (const QStringList &words : {QStringList(), QStringList{"MAISON", "JARDIN", "KAYAKS", "ÉCOLES", "GARÇON", "CHEVAL"}}) {
            PracticeDraw draw = drawFor(words.isEmpty() ? 1 : 6, words, QString());
            QVERIFY(!draw.plan().hasHistory() && draw.plan().practised().isEmpty());
            SeededRandom random(11);
            QHash<QString, int> counts;
            for (int i = 0; i < 26000; ++i) {
                draw.restart(); // the first item of each game, so that the words left do not matter
                ++counts[draw.next(random)];
            }
            const qsizetype kinds = words.isEmpty() ? 26 : words.size();
            QCOMPARE(counts.size(), kinds);
            for (auto it = counts.cbegin(); it != counts.cend(); ++it)
                QVERIFY2(std::abs(it.value() - 26000.0 / kinds) < 0.15 * 26000.0 / kinds, qPrintable(it.key()));
        }
    }

    // A word is never drawn twice in a game, even when the weak characters are in few words;
    // and the same random numbers give the same items.
    void noWordTwiceAndSameRandomSameItems()
    {
        const QStringList words = shippedWords();
        for (const QString weak : {"KW", ""}) {
            PracticeDraw draw = drawFor(6, words, weak, 12);
            SeededRandom random(17);
            for (const QStringList &items : play(draw, random, 200)) {
                QCOMPARE(QSet<QString>(items.cbegin(), items.cend()).size(), 20);
                for (const QString &item : items)
                    QVERIFY(words.contains(item));
            }
        }
        PracticeDraw first = drawFor(6, words, QStringLiteral("KW")), second = drawFor(6, words, QStringLiteral("KW"));
        SeededRandom a(23), b(23), c(24);
        const QList<QStringList> once = play(first, a, 3);
        QCOMPARE(play(second, b, 3), once);
        QVERIFY(play(second, c, 3) != once);
    }

    // "due wrong aboveK aboveE" for Q, beside K (10 wrong of 30), E (2 of 200), the rest 0 of 25;
    // then a letter only slow (J) is practised in the one-letter mode only.
    void smoothingAndSlowLetters()
    {
        for (const QString row : {"2 1 0 1", "2 0 0 1", "40 20 1 1", "0 0 0 1"}) {
            const QStringList f = row.split(u' ');
            const qint64 due = f[0].toLongLong();
            QList<RecentCharacter> h{{"K", 30, 10, 30, 18000}, {"E", 200, 2, 200, 120000}, {"Q", due, f[1].toLongLong(), due, due * 600}};
            for (char16_t c = u'A'; c <= u'Z'; ++c)
                if (c != u'K' && c != u'E' && c != u'Q')
                    h << RecentCharacter{QString(QChar(c)), 25, 0, 25, 15000};
            const PracticePlan plan = PracticePlan::build(h, 1, PracticePlan::letters());
            QHash<QChar, double> rate;
            double total = 0;
            for (const PracticePlan::Figures &fig : plan.figures()) {
                rate[fig.character] = fig.smoothedRate;
                total += fig.share;
                QVERIFY(fig.share <= PracticePlan::kMostShare + 1e-9);
            }
            QCOMPARE(rate[u'Q'] > rate[u'K'], f[2] == "1");
            QCOMPARE(rate[u'Q'] > rate[u'E'] && plan.share(u'Q') > plan.share(u'E'), f[3] == "1");
            QCOMPARE(qRound(total * 1e6), 1000000);
            QCOMPARE(plan.rateBefore(u'K'), 10.0 / 30.0);
            QCOMPARE(plan.rateBefore(u'Q') < 0, due == 0);
        }
        QList<RecentCharacter> slowJ;
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            slowJ << RecentCharacter{QString(QChar(c)), 25, 1, 25, (c == u'J' ? 1200 : 500) * 25};
        QCOMPARE(PracticePlan::build(slowJ, 1, PracticePlan::letters()).practised(), QList<QChar>{u'J'});
        QVERIFY(PracticePlan::build(slowJ, 6, PracticePlan::letters()).practised().isEmpty());
        QList<RecentCharacter> eightWeak; // A to H missed a third of the time: only the most shown are named
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            eightWeak << RecentCharacter{QString(QChar(c)), 30, c < u'I' ? 10 : 0, 30, 15000};
        QCOMPARE(PracticePlan::build(eightWeak, 1, PracticePlan::letters()).practised().size(), PracticePlan::kMostShown);
    }

    // "history | items played, # before a character: missed once > caption | summary", with
    // A missed one time in six and a space inside words 20 times in 30 ("-": no history).
    void reportText()
    {
        const QStringList rows = {
            "- | ABCDEF > Entraînement : tirage égal | ",
            "even | ABCDEF > Entraînement : tirage égal | ",
            "weak | #ABCDEF,A CDEF > Entraînement : espace A | Entraînement terminé./espace : 67 % de fautes avant, 0 % dans "
            "cette partie/A : 17 % de fautes avant, 50 % dans cette partie",
            "weak | ###ABCDEF,BCDEF > Entraînement : espace A | Entraînement terminé./espace : 67 % de fautes avant, pas demandé "
            "dans cette partie/A : 17 % de fautes avant, 300 % dans cette partie (3 fautes pour 1 fois demandé)"};
        QList<QChar> alphabet;
        QList<RecentCharacter> even, weak;
        for (QChar c : QStringLiteral("ABCDEFGHIJ ")) {
            alphabet << c;
            if (c != u' ')
                even << RecentCharacter{QString(c), 30, 1, 0, 0};
        }
        weak = even;
        weak[0].wrong = 5;
        weak << RecentCharacter{QStringLiteral(" "), 30, 20, 0, 0};
        for (const QString &row : rows) {
            const QString history = row.section(" | ", 0, 0);
            const PracticePlan plan = PracticePlan::build(history == "-" ? QList<RecentCharacter>() : history == "even" ? even : weak, 6, alphabet);
            QList<PlayedItem> played;
            for (QString item : row.section(" | ", 1).section(" > ", 0, 0).split(u',')) {
                PlayedItem p;
                p.shown = QString(item).remove(u'#');
                for (qsizetype i = item.count(u'#'); i > 0; --i)
                    p.mistakes << Mistake{p.shown.at(0), u'#'};
                played << p;
            }
            // No-break spaces written as spaces, line ends as "/".
            const QString shown = PracticeReport::caption(plan) + " | " + PracticeReport::summary(plan, played).replace(u'\n', u'/');
            QCOMPARE(QString(shown).replace(QChar(0xA0), u' '), row.section(" > ", 1));
            QVERIFY(!shown.contains(" :") && !shown.contains(" %"));
        }
    }
};

QTEST_GUILESS_MAIN(TestPracticeDraw)
#include "tst_practice_draw.moc"
