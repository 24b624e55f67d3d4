// Guards a record file shared by several programs at once, as in a classroom's shared
// folder: real processes find, create and improve players concurrently, and afterwards no
// player is missing or doubled and every record is the best of all that were offered; and
// a lock that cannot be had never freezes the game.
#include "game/records/PlayerFile.h"
#include "platform/FileLock.h"
#include "support/TestDoubles.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <map>
#include <memory>
#include <vector>

class TestSharedFolder : public QObject
{
    Q_OBJECT

private slots:
    // "programs rounds": each prints the times it offered; afterwards every player is in the
    // file once, with the best times offered for them, and the absolute records the best of all.
    void concurrentProgramsKeepEveryRecord()
    {
        for (const auto &[programs, rounds] : {std::pair{2, 1500}, std::pair{4, 600}}) {
            ScratchFolder folder;
            std::vector<std::unique_ptr<QProcess>> players;
            for (int p = 0; p < programs; ++p) {
                players.push_back(std::make_unique<QProcess>());
                players.back()->start(CLAVIMO_RECORD_WRITER, {folder.path(), QString::number(1000 + p), QString::number(rounds)});
            }
            using Best = std::pair<int, int>; // mini, average
            std::map<QString, Best> best;
            Best absolute{9999, 9999};
            for (auto &process : players) {
                QVERIFY(process->waitForFinished(120000) && process->exitCode() == 0);
                const QList<QByteArray> lines = process->readAllStandardOutput().trimmed().split('\n');
                QCOMPARE(lines.size(), rounds);
                for (const QByteArray &line : lines) {
                    const QList<QByteArray> f = line.split(' ');
                    auto &b = best.try_emplace(QString::fromLatin1(f[0]), 9999, 9999).first->second;
                    b = {qMin(b.first, f[1].toInt()), qMin(b.second, f[2].toInt())};
                    absolute = {qMin(absolute.first, b.first), qMin(absolute.second, b.second)};
                }
            }
            PlayerFile file;
            QVERIFY(file.open(folder.file("clvfic1.txt")));
            QCOMPARE(file.length() % PlayerEntry::kSize, qint64(0));
            QVERIFY(Best(file.read(1).Mini, file.read(2).Average) == absolute);
            const QList<PlayerEntry> stored = file.read(3, qint64(file.playerCount()));
            QCOMPARE(std::size_t(stored.size()), best.size()); // nobody missing, nobody twice
            for (const PlayerEntry &r : stored)
                QVERIFY2(best.count(r.Name.trimmed()) && best[r.Name.trimmed()] == Best(r.Mini, r.Average), qPrintable(r.Name));
        }
    }

    // A lock another program holds delays the next one by its wait at most, and is let go
    // with its holder; a file that cannot be locked does not wait at all.
    void aLockThatCannotBeHadDoesNotFreeze()
    {
        ScratchFolder folder;
        EntryFile mine, other, closed;
        QVERIFY(mine.open(folder.file("clvfic1.txt"), PlayerEntry::kSize, EntryFile::Mode::ReadWrite));
        QVERIFY(other.open(folder.file("clvfic1.txt"), PlayerEntry::kSize, EntryFile::Mode::ReadWrite));
        const auto waitedMs = [](const EntryFile &file, int waitMs) {
            QElapsedTimer waited;
            waited.start();
            const FileLock lock(file, waitMs);
            return waited.elapsed();
        };
        for (int round = 0; round < 2; ++round) { // the other way round once let go
            const FileLock held(round ? mine : other);
            const qint64 ms = waitedMs(round ? other : mine, 300);
            QVERIFY2(ms >= 290 && ms < 2000, qPrintable(QString::number(ms)));
        }
        QVERIFY(waitedMs(closed, 2000) < 100);
    }
};

QTEST_GUILESS_MAIN(TestSharedFolder)
#include "tst_shared_folder.moc"
