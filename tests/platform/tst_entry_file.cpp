// Guards the record file rules: missing bytes read as zero, writes extend the file with zero-filled gaps, failed opens neither create nor crash.

#include "platform/EntryFile.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QtTest>

class TestEntryFile : public QObject
{
    Q_OBJECT

private slots:
    // "file before, entry k of 4 bytes, bytes written (none: read) > entry read, or the whole
    // file after the write, checked on disk while the file is still open".
    void readWrite()
    {
        const QByteArray z(16, '\0');
        const QList<std::tuple<QByteArray, qint64, QByteArray, QByteArray>> rows = {
            {"", 1, "", z.left(4)}, {"ABCDEFG", 2, "", QByteArray("EFG\0", 4)}, {"ABCDEFG", 3, "", z.left(4)},
            {"ABCDEFGHIJKL", 2, "wxyz", "ABCDwxyzIJKL"}, {"ABCDEFGH", 2, "wx", QByteArray("ABCDwx\0\0", 8)},
            {"ABCDEFGH", 1, "wxyz!!", "wxyzEFGH"}, {"ABCDEF", 2, "wxyz", "ABCDwxyz"}, {"ABCDE", 5, "wxyz", "ABCDE" + z.left(11) + "wxyz"},
            {"ABCD", 40000, "wxyz", "ABCD" + QByteArray(39998 * 4, '\0') + "wxyz"}}; // beyond 16-bit entry numbers
        for (const auto &[content, k, entry, expected] : rows) {
            ScratchFolder folder;
            folder.write("r.dat", content);
            EntryFile file;
            QVERIFY(file.open(folder.file("r.dat"), 4, entry.isEmpty() ? EntryFile::Mode::ReadOnly : EntryFile::Mode::ReadWrite));
            QVERIFY2(entry.isEmpty() || file.write(k, entry), qPrintable(file.errorString()));
            QCOMPARE(entry.isEmpty() ? file.read(k) : folder.read("r.dat"), expected);
        }
    }

    void failedOpens()
    {
        ScratchFolder scratch;
        EntryFile file;
        const QString missing = scratch.file("missing.txt"), folder = scratch.file("clvfic1.txt");
        QVERIFY(!file.open(missing, 6, EntryFile::Mode::ReadOnly) && !QFile::exists(missing) && !file.isOpen());
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(!file.open(folder, 19, EntryFile::Mode::ReadWrite));
        QCOMPARE(file.errorString(), "un dossier porte ce nom");
        QVERIFY(file.open(missing, 6, EntryFile::Mode::ReadWrite) && QFile::exists(missing));
    }
};

QTEST_GUILESS_MAIN(TestEntryFile)
#include "tst_entry_file.moc"
