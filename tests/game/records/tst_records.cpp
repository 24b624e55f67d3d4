// Guards the record files byte for byte: the player entry, the absolute records, players
// found or appended, the records list's lines and ranking, and a file shared by several
// programs at once, as in a classroom's shared folder.
#include "game/records/PlayerFile.h"
#include "game/records/RecordBook.h"
#include "game/records/RecordsList.h"
#include "platform/FileLock.h"
#include "support/EntryBytes.h"
#include "support/TestDoubles.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <numeric>
#include <thread>
#include <vector>

static const QString kFile = QStringLiteral("clvfic1.txt");

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    // Name cut to 15 characters in windows-1252, Mini and Average as 16-bit little-endian;
    // an entry past the end reads as zeros.
    void entriesPlayersLinesAndLocks()
    {
        for (const auto &[name, mini, average, bytes] :
             {std::tuple{"Anne", 9999, -1, QByteArray("Anne           \x0F\x27\xFF\xFF", 19)},
              {"Éléonore-Joséphine", -32768, 32767, QByteArray("\xC9l\xE9onore-Jos\xE9ph\x00\x80\xFF\x7F", 19)}}) {
            ScratchFolder folder;
            PlayerFile file;
            QVERIFY(file.open("players"));
            QVERIFY(file.write(1, PlayerEntry{FitName(name), qint16(mini), qint16(average)}));
            QCOMPARE(folder.read("players"), bytes);
            QCOMPARE(file.read(1).Name, FitName(name));
            QCOMPARE(file.read(2).Name + file.read(2).toBytes(), QString(15, QChar(0)) + QByteArray(19, '\0'));
        }
        // "file before > after, absolute Mini and Average": a 0 is replaced by the placeholder,
        // the unused field written back.
        const QByteArray kept = entryBytes("Zoe", 180, 7) + entryBytes("Max", 3, 260);
        for (const auto &[before, after, mini, average] :
             {std::tuple{QByteArray(), kPlaceholders, 9999, 9999}, {kept, kept, 180, 260},
              {entryBytes("Bob", 0, 77) + entryBytes("Ann", 5, 300), entryBytes("xxxxx", 9999, 77) + entryBytes("Ann", 5, 300), 9999, 300}}) {
            ScratchFolder folder;
            folder.write(kFile, before);
            PlayerFile file;
            QVERIFY(file.open(kFile));
            const RecordBook::AbsRecords abs = RecordBook::loadAbsRecords(file);
            QCOMPARE(QList<int>({abs.mini, abs.average}), QList<int>({mini, average}));
            QCOMPARE(folder.read(kFile), after);
        }
        // "players after the placeholders, name > entry number, players afterwards".
        const QByteArray three = entryBytes("Paul", 500, 600) + entryBytes("Anne", 1, 2) + entryBytes("Paul", 7, 8);
        const QByteArray ana = entryBytes("Ana", 9999, 9999), maxi = entryBytes("Maximilien-alex", 1, 1), lukasz = entryBytes("?ukasz", 1, 1);
        QByteArray many;
        for (int i = 0; i < 33000; ++i)
            many += entryBytes("P" + QByteArray::number(i), 500, 600);
        const QList<std::tuple<const char *, QByteArray, QString, qint64, QByteArray>> rows = {
            {"returning player", three, "Anne", 4, three}, {"first match wins", three, "Paul", 3, three},
            {"case counts", three, "PAUL", 6, three + entryBytes("PAUL", 9999, 9999)},
            {"placeholders never match", {}, "xxxxx", 3, entryBytes("xxxxx", 9999, 9999)},
            {"only 15 characters count", maxi, "Maximilien-alexandre", 3, maxi},
            {"accents one byte each", {}, "Hélène", 3, entryBytes("H\xE9l\xE8ne", 9999, 9999)},
            {"outside the code page, found again", lukasz, "Łukasz", 3, lukasz},
            {"short fragment overwritten", QByteArray(9, 'z'), "Ana", 3, ana},
            {"a kept fragment is a player too", entryBytes("Ana", 300, 400).left(16), "Ana", 3, entryBytes("Ana", 300, 400).left(16)},
            {"long fragment kept", QByteArray(10, 'z'), "Ana", 4, QByteArray(10, 'z') + QByteArray(9, '\0') + ana},
            {"beyond entry 32767", many, "P32999", 33002, many},
            {"newcomer after 33000 players", many, "Newcomer", 33003, many + entryBytes("Newcomer", 9999, 9999)}};
        for (const auto &[label, players, name, number, after] : rows) {
            ScratchFolder folder;
            folder.write(kFile, kPlaceholders + players);
            PlayerFile file;
            QVERIFY(file.open(kFile));
            const RecordBook::Lookup found = RecordBook::findPlayer(file, name);
            QVERIFY2(found.recordNumber == number && found.created == (after != players), label);
            QVERIFY2(folder.read(kFile) == kPlaceholders + after, label);
        }
        // "rank name mini|line", Average 456.
        for (const QString row : {"1 Paul 5| 1   Paul            5    456", "10 Zoé 555| 10  Zoé             555  456",
                                  "99 Bob 9999| 99  Bob             9999 456", "100 Bob 123| 100  Bob             123  456",
                                  "2 Maximilienne-Jo 300| 2   Maximilienne-Jo 300  456", "5 Y -32768| 5   Y               -32768456"}) {
            const QStringList f = row.section(u'|', 0, 0).split(u' ');
            QCOMPARE(recordLine(f[0].toInt(), PlayerEntry{FitName(f[1]), qint16(f[2].toInt()), 456}), row.section(u'|', 1));
        }
        // Three runs of each size from 0 to 300, over ranges from two values (many ties) to the
        // whole 16-bit range, against the exchange sort written out literally on indices.
        for (const auto &[low, high] : {std::pair{0, 1}, std::pair{298, 302}, std::pair{150, 1200}, std::pair{-32768, 32767}}) {
            QRandomGenerator rng(quint32(low * 7919 + high));
            for (int run = 0; run < 3 * 301; ++run) {
                std::vector<qint16> values(std::size_t(run / 3));
                std::generate(values.begin(), values.end(), [&] { return qint16(rng.bounded(low, high + 1)); });
                std::vector<int> order(values.size());
                std::iota(order.begin(), order.end(), 0);
                for (std::size_t i = 0; i + 1 < order.size(); ++i)
                    for (std::size_t j = i + 1; j < order.size(); ++j)
                        if (values[std::size_t(order[j])] < values[std::size_t(order[i])])
                            std::swap(order[i], order[j]);
                QVERIFY2(exchangeSortOrder(values) == order, qPrintable(QString::number(run / 3)));
            }
        }
        // Another program holds the lock while it writes an entry: each step that reads and
        // writes the file waits, then sees what it wrote. "step > what the step found", on a file
        // of an absolute Mini of 0 and Anne's 500/500, the other writing 200/200 for Anne as the
        // absolute Mini's holder, for Anne herself, or for Paul after her.
        for (const QString row : {"load 1 > 200", "offer 3 > 0", "find 4 > 0"}) {
            ScratchFolder folder;
            folder.write(kFile, entryBytes("xxxxx", 0, 0) + entryBytes("xxxxx", 0, 9999) + entryBytes("Anne", 500, 500));
            PlayerFile file;
            EntryFile other;
            QVERIFY(file.open(kFile) && other.open(folder.file(kFile), PlayerEntry::kSize, EntryFile::Mode::ReadWrite));
            auto held = std::make_unique<FileLock>(other);
            std::thread writer([&] {
                QThread::msleep(200);
                const QByteArray name = row.startsWith("find") ? "Paul" : "Anne";
                other.write(row.section(u' ', 1, 1).toLongLong(), entryBytes(name, 200, 200));
                held.reset();
            });
            const qint64 found = row.startsWith("load") ? RecordBook::loadAbsRecords(file).mini
                : row.startsWith("offer")               ? RecordBook::offer(file, 3, RecordBook::Field::Mini, 300, "Anne").beaten
                                                        : RecordBook::findPlayer(file, "Paul").created;
            writer.join();
            QVERIFY2(QString::number(found) == row.section(" > ", 1), qPrintable(row));
        }
        // A lock another program holds delays the next one by its wait at most, and is let go
        // with its holder; a file that cannot be locked does not wait at all.
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

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
