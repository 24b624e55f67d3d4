// Guards targeted practice: the plan's smoothing and shares, the draw that follows them, the
// report's text; and in the session: record files untouched, each player's own plan, report
// and history, the message without a history, and other commands ending the practice.
#include "game/practice/PracticeDraw.h"
#include "game/practice/PracticeReport.h"
#include "game/progress/HistoryReader.h"
#include "game/records/PlayerFile.h"
#include "game/words/WordList.h"
#include "support/SessionHarness.h"

#include <QDir>
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

// Each character of `alphabet` 60 times due, the `weak` ones `weakDue` times and missed a
// third of the time (and typed 300 ms slower in the one-letter mode), the others one time
// in fifty: the plan for `mode`.
PracticePlan planFor(int mode, const QList<QChar> &alphabet, const QString &weak, qint64 weakDue = 60)
{
    QList<RecentCharacter> recent;
    for (QChar c : alphabet) {
        const qint64 n = weak.contains(c) ? weakDue : 60;
        recent << RecentCharacter{QString(c), n, weak.contains(c) ? (n + 2) / 3 : n / 50, n, n * (weak.contains(c) ? 900 : 600)};
    }
    return PracticePlan::build(weak.isEmpty() ? QList<RecentCharacter>() : recent, mode, alphabet);
}

// Per player, the weak characters missed a third of the time, every other one never.
struct FakeReader : HistoryReader
{
    QStringList players() override { return weak.keys(); }
    QList<GameSummary> games(const QString &, int) override { return {}; }
    QList<CharacterCount> characterCounts(const QString &, int) override { return {}; }
    QList<ItemLine> itemLines(const QString &) override { return {}; }
    QList<PlayerFigures> classFigures(int, const QDateTime &, int, int) override { return {}; }
    QList<RecentCharacter> recentCharacters(const QString &player, int mode, int lastGames) override
    {
        asked << QStringLiteral("%1 %2 %3").arg(player).arg(mode).arg(lastGames);
        QList<RecentCharacter> out;
        for (const QChar c : weak.contains(player) ? QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZÉÈÇ") : QString())
            out << RecentCharacter{QString(c), 30, weak.value(player).contains(c) ? 10 : 0, mode == 1 ? 30 : 0, mode == 1 ? 15000 : 0};
        return out;
    }
    QMap<QString, QString> weak;
    QStringList asked;
};

const QByteArray kWords = QByteArray("maisonjardinkayakswagonsbateauchevalkiwiesbikinifleurspommesgar\xE7onmoutonlapinsclownsticket");

} // namespace

class TestPractice : public QObject
{
    Q_OBJECT

private slots:
    // A letter only slow (J) is practised in the one-letter mode only, and of eight weak
    // letters only the most that may be named are.
    void planDrawReportAndSession()
    {
        for (const QString row : {"1 J > J", "6 J > ", "1 ABCDEFGH > ABCDE"}) {
            QList<RecentCharacter> h; // the letters of the row missed one time in three, or J only slow
            const QString weak = row.section(u' ', 1, 1);
            for (char16_t c = u'A'; c <= u'Z'; ++c)
                h << RecentCharacter{QString(QChar(c)), 30, weak.contains(QChar(c)) && weak != "J" ? 10 : 1, 30, (weak == "J" && c == u'J' ? 1200 : 500) * 30};
            const QList<QChar> practised = PracticePlan::build(h, row.at(0).digitValue(), PracticePlan::letters()).practised();
            QCOMPARE(QString(practised.constData(), practised.size()), row.section(" > ", 1));
        }
        // The shares worked out by hand: K missed 10 times in 30, W 2, eight letters once, Z
        // never due (taken at the average rate); K held at the most share, W drawn more than
        // evenly but not enough to be named; together the whole draw.
        QList<RecentCharacter> kw{{"K", 30, 10, 0, 0}, {"W", 30, 2, 0, 0}};
        for (QChar c : QStringLiteral("ABCDEFGH"))
            kw << RecentCharacter{QString(c), 30, 1, 0, 0};
        const PracticePlan plan = PracticePlan::build(kw, 6, PracticeDraw::alphabetOf({"KWABCDEFGHZ"}));
        double total = 0;
        for (const PracticePlan::Figures &fig : plan.figures())
            total += fig.share;
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5 ").arg(plan.share(u'K'), 0, 'f', 3).arg(plan.share(u'W'), 0, 'f', 3)
                     .arg(plan.share(u'A'), 0, 'f', 3).arg(plan.share(u'Z'), 0, 'f', 3).arg(total, 0, 'f', 9)
                     + QString(plan.practised().constData(), plan.practised().size()),
                 "0.400 0.115 0.045 0.122 1.000000000 K");
        QVERIFY(plan.rateBefore(u'K') == 10.0 / 30.0 && plan.rateBefore(u'Z') < 0);
        // Items drawn in 2,000 by games of `length` items, each game started anew.
        const auto drawn = [](PracticeDraw draw, unsigned seed, int length) {
            SeededRandom random(seed);
            QStringList items;
            for (int i = 0; i < 2000; ++i) {
                if (i % length == 0)
                    draw.restart();
                items << draw.next(random);
            }
            return items;
        };
        // "mode weak > items drawn as often as the plan shares them, within 0.025 over the first
        // items of 2,000 games (or evenly among six words), and least share of K and W":
        // letters with K and W missed a third of the time, then alike without a history.
        const QStringList six = {"MAISON", "JARDIN", "KAYAKS", "ÉCOLES", "GARÇON", "CHEVAL"};
        for (const QString row : {"1 KW > 0.6", "1 - > 0", "6 - > 0"}) {
            const int mode = row.at(0).digitValue();
            const QStringList words = mode == 6 ? six : QStringList();
            const PracticePlan plan = planFor(mode, mode == 1 ? PracticePlan::letters() : PracticeDraw::alphabetOf(words),
                                              row.section(u' ', 1, 1).remove(u'-'));
            QHash<QString, double> share;
            for (const QString &item : drawn(PracticeDraw(plan, words), 11, 1))
                share[item] += 1 / 2000.0;
            QCOMPARE(share.size(), mode == 1 ? 26 : 6);
            for (auto it = share.cbegin(); it != share.cend(); ++it)
                QVERIFY2(std::abs(it.value() - (mode == 1 ? plan.share(it.key().at(0)) : 1 / 6.0)) < 0.025, qPrintable(row + it.key()));
            QVERIFY(share.value("K") + share.value("W") >= row.section(" > ", 1).toDouble());
        }
        // "weak due of K and W > least share of items holding them" over the shipped list, which
        // has few words with K or W, so a fifth is much: five times an even draw at least; no
        // word twice in a game; the same random numbers give the same items.
        WordList list;
        QVERIFY(list.open(QDir(QStringLiteral(CLAVIMO_BUILD_DATA_DIR)).filePath(WordList::fileName())));
        const QStringList words = list.words();
        const QList<QChar> alphabet = PracticeDraw::alphabetOf(words);
        const auto games = [&](const QString &weak, unsigned seed) {
            return drawn(PracticeDraw(planFor(6, alphabet, weak.isEmpty() ? QString() : "KW", weak.toLongLong()), words), seed, 20);
        };
        double even = 0;
        for (const QString weak : {"", "60", "12"}) {
            const QStringList items = games(weak, 7);
            QVERIFY(items == games(weak, 7) && items != games(weak, 8));
            double holding = 0;
            for (qsizetype i = 0; i < items.size(); ++i) {
                QVERIFY2(words.contains(items[i]) && !items.mid(i - i % 20, i % 20).contains(items[i]), qPrintable(items[i]));
                holding += items[i].contains(u'K') || items[i].contains(u'W') ? 1 / 2000.0 : 0;
            }
            if (weak.isEmpty())
                even = holding;
            QVERIFY2(weak.isEmpty() || (holding >= 0.20 && holding > 5 * even), qPrintable(weak + ": " + QString::number(holding)));
        }
        // "characters missed a third of the time ("_" a space inside words, "-" no history) |
        // items played, # before a character: missed once > caption | summary".
        const QStringList reports = {
            "- | ABCDEF > Entraînement : tirage égal | ",
            "A_ | #ABCDEF,A CDEF > Entraînement : A espace | Entraînement terminé./A : 33 % de fautes avant, 50 % dans "
            "cette partie/espace : 33 % de fautes avant, 0 % dans cette partie",
            "A_ | ###ABCDEF,BCDEF > Entraînement : A espace | Entraînement terminé./A : 33 % de fautes avant, 300 % dans "
            "cette partie (3 fautes pour 1 fois demandé)/espace : 33 % de fautes avant, pas demandé dans cette partie"};
        const QString letters = QStringLiteral("ABCDEFGHIJ ");
        for (const QString &row : reports) {
            const QString weak = row.section(" | ", 0, 0).replace(u'_', u' ').remove(u'-');
            const PracticePlan plan = planFor(6, {letters.cbegin(), letters.cend()}, weak);
            QList<PlayedItem> played;
            for (QString item : row.section(" | ", 1).section(" > ", 0, 0).split(u',')) {
                const QString shown = QString(item).remove(u'#');
                played << PlayedItem{shown, 0, 0, QList<Mistake>(item.count(u'#'), Mistake{shown.at(0), u'#'})};
            }
            // No-break spaces written as spaces, line ends as "/".
            const QString shown = PracticeReport::caption(plan) + " | " + PracticeReport::summary(plan, played).replace(u'\n', u'/');
            QCOMPARE(QString(shown).replace(QChar(0xA0), u' '), row.section(" > ", 1));
            QVERIFY(!shown.contains(" :") && !shown.contains(" %"));
        }
        // Anne (weak K) and Paul (weak W) play a round, then a practice round much faster: files
        // unchanged, only the two reports, no record cue; F2 afterwards is an ordinary game again.
        for (const int mode : {1, 6}) {
            Harness h;
            FakeReader reader;
            reader.weak = {{"Anne", "K"}, {"Paul", "W"}};
            h.session->setHistoryReader(&reader);
            h.folder.write(QStringLiteral("clvlet6.txt"), kWords);
            h.ts.random.fallback = 0.4;
            QVERIFY(h.startGame({"Anne", "Paul"}));
            if (mode == 6)
                h.session->selectMode(6);
            h.playItem(500, 0, 40);
            const QByteArray before = h.folder.read(PlayerFile::fileNameFor(mode)), other = h.folder.read(PlayerFile::fileNameFor(7 - mode));
            const qsizetype sounds = h.ts.sound.played.size();
            QStringList reports; // title, the character the report opens on, the caption then
            h.ts.boxes.onShow = [&](const ScriptedBoxes::Box &box) {
                reports << box.title + " " + box.text.section(u'\n', 1).left(1) + " " + h.shown["prompt"];
            };
            h.session->newPractice();
            for (int i = 0; i < 40; ++i)
                h.playItem(100, i == 0 ? 1 : 0);
            QVERIFY(!h.session->game().isRunning()); // the round is over, as after ordinary games
            QVERIFY(h.folder.read(PlayerFile::fileNameFor(mode)) == before && h.folder.read(PlayerFile::fileNameFor(7 - mode)) == other);
            QCOMPARE(reader.asked, (QStringList{QStringLiteral("Anne %1 30").arg(mode), QStringLiteral("Paul %1 30").arg(mode)}));
            QCOMPARE(reports, QStringList({"Anne K Entraînement\u00A0: K", "Paul W Entraînement\u00A0: W"}));
            QVERIFY(h.ts.sound.played.mid(sounds).filter("rec").isEmpty());
            QString stored; // player, mode and "p" for practice of each game in the history
            for (const FinishedGame &g : h.history.games)
                stored += QStringLiteral("%1%2%3 ").arg(g.player).arg(g.mode).arg(g.practice ? "p" : "");
            QCOMPARE(stored, QStringLiteral("Anne%1 Paul%1 Anne%1p Paul%1p ").arg(mode));
            h.session->newGame();
            h.playItem(100, 0, 20);
            QVERIFY(h.folder.read(PlayerFile::fileNameFor(mode)) != before && !h.history.games.last().practice);
        }
        // Without anything to read a history from, or with none for the player: an even draw,
        // said once per player, each box after the screen shows its player. Changing the mode
        // or the players then ends the practice: its plan was for them.
        for (const bool withReader : {true, false}) {
            Harness h;
            FakeReader empty;
            if (withReader)
                h.session->setHistoryReader(&empty);
            h.folder.write(QStringLiteral("clvlet6.txt"), kWords);
            QVERIFY(h.start());
            h.choosePlayers({"Zoé", "Luc"});
            QStringList seen;
            QObject::connect(h.session.get(), &GameSession::playerShown, [&](const QString &name) { seen << "screen: " + name; });
            h.ts.boxes.onShow = [&](const ScriptedBoxes::Box &box) { seen << box.title + ": " + box.text.left(20); };
            h.session->newPractice();
            QCOMPARE(h.shown["prompt"], "Entraînement\u00A0: tirage égal");
            h.playItem(400, 0, 20);
            QCOMPARE(seen, QStringList({"Clavimo: Zoé n'a pas encore d", "screen: Luc", "Luc: Bienvenue au Club CL", "Clavimo: Luc n'a pas encore d"}));
            QVERIFY(h.shown["prompt"].startsWith("Entraînement") && h.history.games.size() == 1 && h.history.games.first().practice);
            withReader ? h.session->selectMode(6) : h.choosePlayers({"Paul"});
            QCOMPARE(h.shown["prompt"], "Barre espace pour continuer");
        }
    }
};

QTEST_GUILESS_MAIN(TestPractice)
#include "tst_practice.moc"
