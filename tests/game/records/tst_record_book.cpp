// Guards the record files byte for byte: the 19-byte player entry, how a mode's file gets
// its absolute records, and how players are found or appended, including odd-length files
// and files of over 32767 players.
#include "game/records/RecordBook.h"
#include "support/EntryBytes.h"
#include "support/TestDoubles.h"

#include <QTest>

namespace {
const QString kFile = QStringLiteral("clvfic1.txt");
} // namespace

class TestRecordBook : public QObject
{
    Q_OBJECT

private slots:
    // Name cut to 15 characters in windows-1252, Mini and Average as 16-bit little-endian;
    // an entry past the end reads as zeros.
    void entryLayout()
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
    }

    // "file before > after, absolute Mini and Average": a 0 is replaced by the placeholder,
    // the unused field written back.
    void absoluteRecords()
    {
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
    }

    // "players after the placeholders, name > entry number, players afterwards".
    void lookup()
    {
        const QByteArray three = entryBytes("Paul", 500, 600) + entryBytes("Anne", 1, 2) + entryBytes("Paul", 7, 8);
        const QByteArray ana = entryBytes("Ana", 9999, 9999), maxi = entryBytes("Maximilien-alex", 1, 1), lukasz = entryBytes("?ukasz", 1, 1);
        QByteArray many;
        for (int i = 0; i < 33000; ++i)
            many += entryBytes("P" + QByteArray::number(i), 500, 600);
        const QList<std::tuple<const char *, QByteArray, QString, qint64, QByteArray>> rows = {
            {"returning player", three, "Anne", 4, three},
            {"first match wins", three, "Paul", 3, three},
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
    }
};

QTEST_GUILESS_MAIN(TestRecordBook)
#include "tst_record_book.moc"
