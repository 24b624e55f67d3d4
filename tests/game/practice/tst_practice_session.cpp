// Guards targeted practice as the main window drives it: the record files stay
// byte-identical and no record is announced, each player of the turns practises their own
// weak characters, the game goes into the history marked as practice, and the player is
// told what was practised, or that there is no history to draw from.
#include "game/session/GameSession.h"
#include "game/progress/HistoryReader.h"
#include "game/records/PlayerFile.h"
#include "support/EntryBytes.h"
#include "support/SessionHarness.h"

#include <QtTest>

namespace {

// A history that answers the practice's question with made-up figures per player: the
// player's weak characters missed a third of the time, every other one never.
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
        if (!weak.contains(player))
            return out;
        for (const QChar c : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZÉÈÇ")) {
            const bool isWeak = weak.value(player).contains(c);
            out << RecentCharacter{QString(c), 30, isWeak ? 10 : 0, mode == 1 ? 30 : 0, mode == 1 ? 30 * 500 : 0};
        }
        return out;
    }
    QMap<QString, QString> weak;
    QStringList asked;
};

// A word list of the six-letter mode where a few words hold K or W.
const QByteArray kWords = QByteArray("maisonjardinkayakswagonsbateauchevalkiwiesbikinifleurspommesrivi\xE8"
                                     "rgar\xE7onmoutonlapinsclownsticketnickelbunkerhockey");

} // namespace

class TestPracticeSession : public QObject
{
    Q_OBJECT

private slots:
    // Two players play an ordinary round, then a practice round much faster than their
    // records: the record file does not change by a byte, no record is announced, and each
    // player practises their own weak character. A game started with F2 afterwards is an
    // ordinary one again and its faster times do reach the file.
    void practiceLeavesTheEntryFilesAlone_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("one letter") << 1;
        QTest::newRow("six letters") << 6;
    }
    void practiceLeavesTheEntryFilesAlone()
    {
        QFETCH(int, mode);
        const QString entryFile = PlayerFile::fileNameFor(mode), otherFile = PlayerFile::fileNameFor(7 - mode);
        Harness h;
        FakeReader reader;
        reader.weak = {{QStringLiteral("Anne"), QStringLiteral("K")}, {QStringLiteral("Paul"), QStringLiteral("W")}};
        h.session->setHistoryReader(&reader);
        h.folder.write(QStringLiteral("clvlet6.txt"), kWords);
        h.ts.random.fallback = 0.4;
        QVERIFY(h.startGame({QStringLiteral("Anne"), QStringLiteral("Paul")}));
        if (mode == 6)
            h.session->selectMode(6);
        for (int i = 0; i < 40; ++i)
            h.playItem(500);
        QCOMPARE(h.session->shownName(), QStringLiteral("Anne"));
        const QByteArray before = h.folder.read(entryFile);
        const QByteArray otherBefore = h.folder.read(otherFile);
        const qsizetype boxesBefore = h.ts.boxes.shown.size();
        const QStringList soundsBefore = h.ts.sound.played;

        QStringList captions;
        QObject::connect(h.session.get(), &GameSession::promptChanged, [&captions](const QString &c, bool visible) {
            if (visible && !captions.contains(c))
                captions << c;
        });
        h.session->newPractice();
        QVERIFY(h.session->isPractice());
        for (int i = 0; i < 40; ++i)
            h.playItem(100, i == 0 ? 1 : 0);
        QVERIFY(!h.session->game().isRunning()); // the round is over, as after ordinary games
        QCOMPARE(h.folder.read(entryFile), before);
        QCOMPARE(h.folder.read(otherFile), otherBefore);
        QCOMPARE(reader.asked, (QStringList{QStringLiteral("Anne %1 30").arg(mode), QStringLiteral("Paul %1 30").arg(mode)}));
        QCOMPARE(captions, (QStringList{QStringLiteral("Entraînement\u00A0: K"), QStringLiteral("Entraînement\u00A0: W")}));
        // Only the two reports, each on its player's own character; no record sound.
        QCOMPARE(h.ts.boxes.shown.size(), boxesBefore + 2);
        QVERIFY(h.ts.boxes.shown[boxesBefore].toString().contains(QStringLiteral("K\u00A0: 33\u00A0% de fautes avant")));
        QVERIFY(h.ts.boxes.shown[boxesBefore + 1].toString().contains(QStringLiteral("W\u00A0: 33\u00A0% de fautes avant")));
        QCOMPARE(h.ts.boxes.shown[boxesBefore].title + h.ts.boxes.shown[boxesBefore + 1].title, QStringLiteral("AnnePaul"));
        QVERIFY(h.ts.sound.played.mid(soundsBefore.size()).filter(QStringLiteral("rec")).isEmpty());
        QString stored; // player, mode and "p" for practice of each game in the history
        for (const FinishedGame &g : h.history.games)
            stored += QStringLiteral("%1%2%3 ").arg(g.player).arg(g.mode).arg(g.practice ? "p" : "");
        QCOMPARE(stored, QStringLiteral("Anne%1 Paul%1 Anne%1p Paul%1p ").arg(mode));

        h.session->newGame();
        QVERIFY(!h.session->isPractice());
        for (int i = 0; i < 20; ++i)
            h.playItem(100);
        QVERIFY(h.folder.read(entryFile) != before);
        QVERIFY(!h.history.games.last().practice);
    }

    // The report at the end: the practised character's rate before, and in this game.
    void reportsEachPractisedCharacter()
    {
        Harness h;
        FakeReader reader;
        reader.weak = {{QStringLiteral("Anne"), QStringLiteral("K")}};
        h.session->setHistoryReader(&reader);
        h.ts.random.fallback = 0.4; // K's part of the draw
        QVERIFY(h.start());
        h.choosePlayers({QStringLiteral("Anne")});
        h.session->newPractice();
        h.playItem(400, 2);
        for (int i = 1; i < 20; ++i)
            h.playItem(400);
        QCOMPARE(h.session->game().playedItems().first().shown, QStringLiteral("K"));
        QCOMPARE(h.ts.boxes.last(), QStringLiteral("Entraînement terminé.\nK\u00A0: 33\u00A0% de fautes avant, "
                                                   "10\u00A0% dans cette partie | Anne | Ok | Information"));
        QVERIFY(!h.session->game().isRunning());
    }

    // Without a history, or without anything to read it from, the player is told that the
    // draw is even, and the game is played all the same.
    void noHistoryDrawsEvenly_data()
    {
        QTest::addColumn<bool>("reader");
        QTest::newRow("empty history") << true;
        QTest::newRow("no history at all") << false;
    }
    void noHistoryDrawsEvenly()
    {
        QFETCH(bool, reader);
        Harness h;
        FakeReader empty;
        if (reader)
            h.session->setHistoryReader(&empty);
        QVERIFY(h.start());
        h.choosePlayers({QStringLiteral("Zoé")});
        const qsizetype before = h.ts.boxes.shown.size();
        h.session->newPractice();
        QCOMPARE(h.ts.boxes.shown.size(), before + 1);
        QVERIFY(h.ts.boxes.last().startsWith(QStringLiteral("Zoé n'a pas encore de partie en 1 lettre")));
        QCOMPARE(h.shown["prompt"], QStringLiteral("Entraînement\u00A0: tirage égal"));
        for (int i = 0; i < 20; ++i)
            h.playItem(400);
        QCOMPARE(h.ts.boxes.shown.size(), before + 1); // nothing practised, nothing to report
        QCOMPARE(h.history.games.size(), 1);
        QVERIFY(h.history.games.first().practice);
    }

    // At the turn change of a practice round, the next player is on screen and welcomed
    // (a new player) before the box that tells them there is no history yet: a box
    // speaking of Luc over a screen that still shows Zoé would confuse them both.
    void practiceTurnShowsThePlayerBeforeTheirBox()
    {
        Harness h;
        FakeReader empty;
        h.session->setHistoryReader(&empty);
        QVERIFY(h.start());
        h.choosePlayers({QStringLiteral("Zoé"), QStringLiteral("Luc")});
        QStringList seen;
        QObject::connect(h.session.get(), &GameSession::playerShown,
                         [&seen](const QString &name) { seen << QStringLiteral("screen: ") + name; });
        h.ts.boxes.onShow = [&seen](const ScriptedBoxes::Box &box) {
            seen << box.title + QStringLiteral(": ") + box.text.left(20);
        };
        h.session->newPractice();
        for (int i = 0; i < 20; ++i)
            h.playItem(400);
        QCOMPARE(seen, QStringList({QStringLiteral("Clavimo: Zoé n'a pas encore d"), QStringLiteral("screen: Luc"),
                                    QStringLiteral("Luc: Bienvenue au Club CL"), QStringLiteral("Clavimo: Luc n'a pas encore d")}));
        QVERIFY(h.session->isPractice());
    }

    // Changing the mode or the players ends the practice: its plan was for them.
    void otherCommandsEndThePractice_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("mode") << "mode";
        QTest::newRow("players") << "players";
    }
    void otherCommandsEndThePractice()
    {
        QFETCH(QString, command);
        Harness h;
        FakeReader reader;
        reader.weak = {{QStringLiteral("Anne"), QStringLiteral("K")}};
        h.session->setHistoryReader(&reader);
        h.folder.write(QStringLiteral("clvlet6.txt"), kWords);
        QVERIFY(h.start());
        h.choosePlayers({QStringLiteral("Anne")});
        h.session->newPractice();
        QCOMPARE(h.shown["prompt"], QStringLiteral("Entraînement\u00A0: K"));
        if (command == QLatin1String("mode"))
            h.session->selectMode(6);
        else
            h.choosePlayers({QStringLiteral("Paul")});
        QVERIFY(!h.session->isPractice());
        QCOMPARE(h.shown["prompt"], QStringLiteral("Barre espace pour continuer"));
    }
};

QTEST_GUILESS_MAIN(TestPracticeSession)
#include "tst_practice_session.moc"
