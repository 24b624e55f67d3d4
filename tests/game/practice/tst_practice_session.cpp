// Guards practice as the session runs it: the record files stay byte-identical and no
// record is announced, each player of the turns practises their own weak characters and
// gets their own report, the history marks the games as practice, a player without a
// history is told so on their own screen, and other commands end the practice.
#include "game/progress/HistoryReader.h"
#include "game/records/PlayerFile.h"
#include "support/SessionHarness.h"

#include <QtTest>

namespace {

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

class TestPracticeSession : public QObject
{
    Q_OBJECT

private slots:
    // Anne (weak K) and Paul (weak W) play a round, then a practice round much faster: files
    // unchanged, only the two reports, no record cue; F2 afterwards is an ordinary game again.
    void practiceLeavesTheRecordFilesAlone()
    {
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
            for (int i = 0; i < 40; ++i)
                h.playItem(500);
            const QByteArray before = h.folder.read(PlayerFile::fileNameFor(mode)), other = h.folder.read(PlayerFile::fileNameFor(7 - mode));
            const qsizetype boxes = h.ts.boxes.shown.size(), sounds = h.ts.sound.played.size();
            QStringList captions;
            QObject::connect(h.session.get(), &GameSession::promptChanged, [&](const QString &c, bool on) {
                if (on && !captions.contains(c))
                    captions << c;
            });
            h.session->newPractice();
            for (int i = 0; i < 40; ++i)
                h.playItem(100, i == 0 ? 1 : 0);
            QVERIFY(!h.session->game().isRunning()); // the round is over, as after ordinary games
            QCOMPARE(h.folder.read(PlayerFile::fileNameFor(mode)), before);
            QCOMPARE(h.folder.read(PlayerFile::fileNameFor(7 - mode)), other);
            QCOMPARE(reader.asked, (QStringList{QStringLiteral("Anne %1 30").arg(mode), QStringLiteral("Paul %1 30").arg(mode)}));
            QCOMPARE(captions, (QStringList{"Entraînement\u00A0: K", "Entraînement\u00A0: W"}));
            QCOMPARE(h.ts.boxes.shown.size(), boxes + 2);
            QVERIFY(h.ts.boxes.shown[boxes].toString().contains("K\u00A0: 33\u00A0%") && h.ts.boxes.shown[boxes].title == "Anne");
            QVERIFY(h.ts.boxes.shown[boxes + 1].toString().contains("W\u00A0: 33\u00A0%") && h.ts.boxes.shown[boxes + 1].title == "Paul");
            QVERIFY(h.ts.sound.played.mid(sounds).filter("rec").isEmpty());
            QString stored; // player, mode and "p" for practice of each game in the history
            for (const FinishedGame &g : h.history.games)
                stored += QStringLiteral("%1%2%3 ").arg(g.player).arg(g.mode).arg(g.practice ? "p" : "");
            QCOMPARE(stored, QStringLiteral("Anne%1 Paul%1 Anne%1p Paul%1p ").arg(mode));
            h.session->newGame();
            for (int i = 0; i < 20; ++i)
                h.playItem(100);
            QVERIFY(h.folder.read(PlayerFile::fileNameFor(mode)) != before);
            QVERIFY(!h.history.games.last().practice);
        }
    }

    // Without anything to read a history from, or with none for the player: an even draw,
    // said once per player, each box after the screen shows its player.
    void noHistoryIsSaidOnThePlayersOwnScreen()
    {
        for (const bool withReader : {true, false}) {
            Harness h;
            FakeReader empty;
            if (withReader)
                h.session->setHistoryReader(&empty);
            QVERIFY(h.start());
            h.choosePlayers({"Zoé", "Luc"});
            QStringList seen;
            QObject::connect(h.session.get(), &GameSession::playerShown, [&](const QString &name) { seen << "screen: " + name; });
            h.ts.boxes.onShow = [&](const ScriptedBoxes::Box &box) { seen << box.title + ": " + box.text.left(20); };
            h.session->newPractice();
            QCOMPARE(h.shown["prompt"], "Entraînement\u00A0: tirage égal");
            for (int i = 0; i < 20; ++i)
                h.playItem(400);
            QCOMPARE(seen, QStringList({"Clavimo: Zoé n'a pas encore d", "screen: Luc", "Luc: Bienvenue au Club CL", "Clavimo: Luc n'a pas encore d"}));
            QVERIFY(h.session->isPractice() && h.history.games.size() == 1 && h.history.games.first().practice);
        }
    }

    // Changing the mode or the players ends the practice: its plan was for them.
    void otherCommandsEndThePractice()
    {
        for (const bool mode : {true, false}) {
            Harness h;
            FakeReader reader;
            reader.weak = {{"Anne", "K"}};
            h.session->setHistoryReader(&reader);
            h.folder.write(QStringLiteral("clvlet6.txt"), kWords);
            QVERIFY(h.start());
            h.choosePlayers({"Anne"});
            h.session->newPractice();
            QVERIFY(h.session->isPractice());
            mode ? h.session->selectMode(6) : h.choosePlayers({"Paul"});
            QVERIFY(!h.session->isPractice());
            QCOMPARE(h.shown["prompt"], "Barre espace pour continuer");
        }
    }
};

QTEST_GUILESS_MAIN(TestPracticeSession)
#include "tst_practice_session.moc"
