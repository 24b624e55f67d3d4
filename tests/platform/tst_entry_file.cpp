// Guards the record file rules: missing bytes read as zero, writes extend the file with zero-filled gaps, failed opens neither create nor crash.

#include "platform/EntryFile.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QtTest>

class TestEntryFile : public QObject
{
    Q_OBJECT

private slots:
    void readWrite_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qint64>("k");
        QTest::addColumn<QByteArray>("record"); // empty: read only
        QTest::addColumn<QByteArray>("expected"); // record k read, or whole file after the write
        const QByteArray z(16, '\0');
        QTest::newRow("read empty file") << QByteArray() << qint64(1) << QByteArray() << z.left(4);
        QTest::newRow("read partial record") << QByteArray("ABCDEFG") << qint64(2) << QByteArray() << QByteArray("EFG\0", 4);
        QTest::newRow("read past the end") << QByteArray("ABCDEFG") << qint64(3) << QByteArray() << z.left(4);
        QTest::newRow("write middle") << QByteArray("ABCDEFGHIJKL") << qint64(2) << QByteArray("wxyz") << QByteArray("ABCDwxyzIJKL");
        QTest::newRow("write short padded") << QByteArray("ABCDEFGH") << qint64(2) << QByteArray("wx") << QByteArray("ABCDwx\0\0", 8);
        QTest::newRow("write long cut") << QByteArray("ABCDEFGH") << qint64(1) << QByteArray("wxyz!!") << QByteArray("wxyzEFGH");
        QTest::newRow("write over partial") << QByteArray("ABCDEF") << qint64(2) << QByteArray("wxyz") << QByteArray("ABCDwxyz");
        QTest::newRow("write with gap") << QByteArray("ABCDE") << qint64(5) << QByteArray("wxyz") << QByteArray("ABCDE") + z.left(11) + "wxyz";
        QTest::newRow("write beyond 16-bit record numbers")
            << QByteArray("ABCD") << qint64(40000) << QByteArray("wxyz") << QByteArray("ABCD") + QByteArray(39998 * 4, '\0') + "wxyz";
    }
    void readWrite()
    {
        QFETCH(QByteArray, content);
        QFETCH(qint64, k);
        QFETCH(QByteArray, record);
        QFETCH(QByteArray, expected);
        ScratchFolder folder;
        folder.write(QStringLiteral("r.dat"), content);
        EntryFile file;
        QVERIFY(file.open(folder.file(QStringLiteral("r.dat")), 4, record.isEmpty() ? EntryFile::Mode::ReadOnly : EntryFile::Mode::ReadWrite));
        QVERIFY2(record.isEmpty() || file.write(k, record), qPrintable(file.errorString()));
        // A write is checked on disk while the file is still open.
        QCOMPARE(record.isEmpty() ? file.read(k) : folder.read(QStringLiteral("r.dat")), expected);
    }

    void failedOpens()
    {
        ScratchFolder scratch;
        EntryFile file;
        const QString missing = scratch.file(QStringLiteral("missing.txt"));
        QVERIFY(!file.open(missing, 6, EntryFile::Mode::ReadOnly));
        QVERIFY(!QFile::exists(missing));
        QVERIFY(!file.isOpen());
        const QString folder = scratch.file(QStringLiteral("clvfic1.txt"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(!file.open(folder, 19, EntryFile::Mode::ReadWrite));
        QCOMPARE(file.errorString(), QStringLiteral("un dossier porte ce nom"));
        QVERIFY(file.open(missing, 6, EntryFile::Mode::ReadWrite));
        QVERIFY(QFile::exists(missing));
    }
};

QTEST_GUILESS_MAIN(TestEntryFile)
#include "tst_entry_file.moc"
