// Guards a record file shared by several programs at once, as in a classroom's shared
// folder: real processes find, create and improve players concurrently, and afterwards no
// player is missing or doubled and every record is the best of all that were offered.
#include "game/records/PlayerFile.h"
#include "platform/FileLock.h"
#include "support/TestDoubles.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <memory>
#include <vector>

class TestSharedFolder : public QObject
{
    Q_OBJECT

private slots:
    void concurrentProgramsKeepEveryRecord_data()
    {
        QTest::addColumn<int>("programs");
        QTest::addColumn<int>("rounds");
        QTest::newRow("two programs") << 2 << 1500;
        QTest::newRow("four programs") << 4 << 600;
    }
    void concurrentProgramsKeepEveryRecord()
    {
        QFETCH(int, programs);
        QFETCH(int, rounds);
        ScratchFolder folder;
        std::vector<std::unique_ptr<QProcess>> players;
        for (int p = 0; p < programs; ++p) {
            auto process = std::make_unique<QProcess>();
            process->start(QStringLiteral(CLAVIMO_RECORD_WRITER),
                           {folder.path(), QString::number(1000 + p), QString::number(rounds)});
            players.push_back(std::move(process));
        }
        struct Best
        {
            int mini = 9999;
            int average = 9999;
        };
        QMap<QString, Best> best;
        Best absolute;
        for (auto &process : players) {
            QVERIFY(process->waitForFinished(120000));
            QCOMPARE(process->exitCode(), 0);
            const QList<QByteArray> lines = process->readAllStandardOutput().split('\n');
            QCOMPARE(lines.size(), rounds + 1);
            for (const QByteArray &line : lines) {
                const QList<QByteArray> f = line.split(' ');
                if (f.size() != 3)
                    continue;
                Best &b = best[QString::fromLatin1(f[0])];
                b.mini = qMin(b.mini, f[1].toInt());
                b.average = qMin(b.average, f[2].toInt());
                absolute.mini = qMin(absolute.mini, b.mini);
                absolute.average = qMin(absolute.average, b.average);
            }
        }

        PlayerFile file;
        QVERIFY(file.open(folder.file(QStringLiteral("clvfic1.txt"))));
        QCOMPARE(file.length() % PlayerEntry::kSize, qint64(0));
        QCOMPARE(int(file.read(1).Mini), absolute.mini);
        QCOMPARE(int(file.read(2).Average), absolute.average);
        const QList<PlayerEntry> stored = file.read(3, qint64(file.playerCount()));
        QCOMPARE(stored.size(), best.size()); // nobody missing, nobody twice
        for (const PlayerEntry &r : stored) {
            const QString name = r.Name.trimmed();
            QVERIFY2(best.contains(name), qPrintable(name));
            QCOMPARE(int(r.Mini), best[name].mini);
            QCOMPARE(int(r.Average), best[name].average);
        }
    }

    // A lock another program holds delays the write by the wait at most, and a file that
    // cannot be locked does not wait at all: neither stops the write.
    void aLockThatCannotBeHadDoesNotFreeze()
    {
        ScratchFolder folder;
        const QString path = folder.file(QStringLiteral("clvfic1.txt"));
        EntryFile mine, other;
        QVERIFY(mine.open(path, PlayerEntry::kSize, EntryFile::Mode::ReadWrite));
        QVERIFY(other.open(path, PlayerEntry::kSize, EntryFile::Mode::ReadWrite));
        QElapsedTimer waited;
        {
            const FileLock held(other);
            QVERIFY(held.isLocked());
            waited.start();
            const FileLock lock(mine, 300);
            QVERIFY(!lock.isLocked());
            QVERIFY(waited.elapsed() >= 290 && waited.elapsed() < 2000);
        }
        QVERIFY(FileLock(mine, 0).isLocked()); // let go with its holder

        EntryFile closed;
        waited.restart();
        QVERIFY(!FileLock(closed).isLocked());
        QVERIFY(waited.elapsed() < 100);
    }
};

QTEST_GUILESS_MAIN(TestSharedFolder)
#include "tst_shared_folder.moc"
