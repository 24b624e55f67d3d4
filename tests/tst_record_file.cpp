// Guards the record file rules: missing bytes read as zero, writes extend the file with
// zero-filled gaps and are on disk at once, and failed opens neither create nor crash.

#include "platform/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray zeros(int n)
{
    return QByteArray(n, '\0');
}

bool isAllZero(const QByteArray &bytes)
{
    return bytes.count('\0') == bytes.size();
}

} // namespace

class TestRecordFile : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void write_data();
    void write();
    void writeToReadOnlyFileFails();
    void readOnlyOpenOfMissingFileCreatesNothing();
    void readWriteOpenCreatesEmptyAndKeepsExisting_data();
    void readWriteOpenCreatesEmptyAndKeepsExisting();
    void openFailure_data();
    void openFailure();
    void farRecordNumbers_data();
    void farRecordNumbers();

private:
    QTemporaryDir dir_;
};

void TestRecordFile::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("recordLength");
    QTest::addColumn<qint64>("k");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("empty file") << QByteArray() << 4 << qint64(1) << zeros(4);
    QTest::newRow("first whole record") << QByteArray("ABCDEFG") << 4 << qint64(1) << QByteArray("ABCD");
    QTest::newRow("partial last record") << QByteArray("ABCDEFG") << 4 << qint64(2)
                                         << QByteArray("EFG\0", 4);
    QTest::newRow("past the end") << QByteArray("ABCDEFG") << 4 << qint64(3) << zeros(4);
    QTest::newRow("odd length, one byte left") << QByteArray("ABCDE") << 2 << qint64(3)
                                               << QByteArray("E\0", 2);
    QTest::newRow("19-byte records, 30 bytes") << QByteArray(30, 'n') << 19 << qint64(2)
                                               << QByteArray(11, 'n') + zeros(8);
    QTest::newRow("record 0") << QByteArray("ABCD") << 4 << qint64(0) << zeros(4);
    QTest::newRow("huge record number") << QByteArray("ABCD") << 4
                                        << std::numeric_limits<qint64>::max() << zeros(4);
}

void TestRecordFile::read()
{
    QFETCH(QByteArray, content);
    QFETCH(int, recordLength);
    QFETCH(qint64, k);
    QFETCH(QByteArray, expected);

    const QString path = dir_.filePath(QStringLiteral("read.dat"));
    writeBytes(path, content);
    for (RecordFile::Mode mode : {RecordFile::Mode::ReadOnly, RecordFile::Mode::ReadWrite}) {
        RecordFile file;
        QVERIFY(file.open(path, recordLength, mode));
        QCOMPARE(file.read(k), expected);
        QCOMPARE(file.length(), qint64(content.size()));
    }
    // Reading never extends or alters the file.
    QCOMPARE(fileBytes(path), content);
}

void TestRecordFile::write_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("k");
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QByteArray>("expected");

    // Record length 4 throughout.
    QTest::newRow("first record of an empty file") << QByteArray() << qint64(1) << QByteArray("WXYZ")
                                                   << QByteArray("WXYZ");
    QTest::newRow("overwrite in the middle") << QByteArray("ABCDEFGHIJKL") << qint64(2)
                                             << QByteArray("wxyz") << QByteArray("ABCDwxyzIJKL");
    QTest::newRow("short data padded with zeros") << QByteArray("ABCDEFGH") << qint64(2)
                                                  << QByteArray("wx") << QByteArray("ABCDwx\0\0", 8);
    QTest::newRow("long data cut") << QByteArray("ABCDEFGH") << qint64(1) << QByteArray("wxyz!!")
                                   << QByteArray("wxyzEFGH");
    QTest::newRow("append right after the end") << QByteArray("ABCDEFGH") << qint64(3)
                                                << QByteArray("wxyz") << QByteArray("ABCDEFGHwxyz");
    QTest::newRow("overwrite a partial last record") << QByteArray("ABCDEF") << qint64(2)
                                                     << QByteArray("wxyz") << QByteArray("ABCDwxyz");
    QTest::newRow("gap after a partial record") << QByteArray("ABCDEF") << qint64(3)
                                                << QByteArray("wxyz")
                                                << QByteArray("ABCDEF") + zeros(2) + "wxyz";
    QTest::newRow("two records beyond an empty file") << QByteArray() << qint64(3) << QByteArray("wxyz")
                                                      << zeros(8) + "wxyz";
    QTest::newRow("gap of several records") << QByteArray("ABCDE") << qint64(5) << QByteArray("wxyz")
                                            << QByteArray("ABCDE") + zeros(11) + "wxyz";
}

void TestRecordFile::write()
{
    QFETCH(QByteArray, content);
    QFETCH(qint64, k);
    QFETCH(QByteArray, record);
    QFETCH(QByteArray, expected);

    const QString path = dir_.filePath(QStringLiteral("write.dat"));
    writeBytes(path, content);
    RecordFile file;
    QVERIFY(file.open(path, 4, RecordFile::Mode::ReadWrite));
    QVERIFY2(file.write(k, record), qPrintable(file.errorString()));
    // Compared while the file is still open: the bytes must already be on disk.
    QCOMPARE(fileBytes(path), expected);
    QCOMPARE(file.length(), qint64(expected.size()));
    QCOMPARE(file.read(k), expected.mid((k - 1) * 4, 4));
}

void TestRecordFile::writeToReadOnlyFileFails()
{
    const QString path = dir_.filePath(QStringLiteral("readonly.dat"));
    writeBytes(path, "ABCD");
    RecordFile file;
    QVERIFY(file.open(path, 4, RecordFile::Mode::ReadOnly));
    QVERIFY(!file.write(1, "wxyz"));
    QVERIFY(!file.write(2, "wxyz"));
    QVERIFY(!file.errorString().isEmpty());
    QCOMPARE(fileBytes(path), QByteArray("ABCD"));
}

void TestRecordFile::readOnlyOpenOfMissingFileCreatesNothing()
{
    const QString path = dir_.filePath(QStringLiteral("missing.txt"));
    RecordFile file;
    QVERIFY(!file.open(path, 6, RecordFile::Mode::ReadOnly));
    QVERIFY(!file.isOpen());
    QVERIFY(!file.errorString().isEmpty());
    QVERIFY(!QFile::exists(path));
    QVERIFY(isAllZero(file.read(1)));
    QCOMPARE(file.length(), qint64(0));
}

void TestRecordFile::readWriteOpenCreatesEmptyAndKeepsExisting_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing") << false << QByteArray();
    QTest::newRow("empty") << true << QByteArray();
    QTest::newRow("existing records") << true << QByteArray("0123456789ABCDEFGHIJ");
}

void TestRecordFile::readWriteOpenCreatesEmptyAndKeepsExisting()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);

    const QString path = dir_.filePath(QStringLiteral("rw.dat"));
    QFile::remove(path);
    if (exists)
        writeBytes(path, content);
    {
        RecordFile file;
        QVERIFY(file.open(path, 19, RecordFile::Mode::ReadWrite));
        QVERIFY(QFile::exists(path));
        QCOMPARE(file.length(), qint64(content.size()));
    }
    QCOMPARE(fileBytes(path), content);
}

void TestRecordFile::openFailure_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("mode");
    for (const char *kind : {"folder", "missing folder", "unwritable folder"}) {
        QTest::addRow("%s, read-write", kind) << QString::fromLatin1(kind) << int(RecordFile::Mode::ReadWrite);
        QTest::addRow("%s, read only", kind) << QString::fromLatin1(kind) << int(RecordFile::Mode::ReadOnly);
    }
}

void TestRecordFile::openFailure()
{
    QFETCH(QString, kind);
    QFETCH(int, mode);

    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    QString path;
    if (kind == QLatin1String("folder")) {
        path = scratch.filePath(QStringLiteral("clvfic1.txt"));
        QVERIFY(QDir().mkdir(path));
    } else if (kind == QLatin1String("missing folder")) {
        path = scratch.filePath(QStringLiteral("nowhere/clvfic1.txt"));
    } else {
        const QString locked = scratch.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkdir(locked));
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
        // The super-user writes through any permission: then there is nothing to test.
        QFile probe(locked + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("permissions are not enforced for this user");
        }
        path = locked + QStringLiteral("/clvfic1.txt");
    }

    {
        RecordFile file;
        QVERIFY(!file.open(path, 19, RecordFile::Mode(mode)));
        QVERIFY(!file.isOpen());
        QVERIFY(!file.errorString().trimmed().isEmpty());
        QVERIFY(!file.write(1, "x"));
        QVERIFY(isAllZero(file.read(1)));
    }
    if (kind != QLatin1String("folder"))
        QVERIFY(!QFileInfo::exists(path));
    QFile::setPermissions(scratch.filePath(QStringLiteral("locked")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestRecordFile::farRecordNumbers_data()
{
    QTest::addColumn<qint64>("k");
    QTest::newRow("beyond a 16-bit number") << qint64(32768);
    QTest::newRow("40000") << qint64(40000);
    // The byte offset of this record no longer fits in 32 bits.
    QTest::newRow("beyond 2^31 / 19") << qint64((qint64(1) << 31) / 19 + 2);
}

void TestRecordFile::farRecordNumbers()
{
    QFETCH(qint64, k);

    const QString path = dir_.filePath(QStringLiteral("far.dat"));
    writeBytes(path, "first record 19 by");
    RecordFile file;
    QVERIFY(file.open(path, 19, RecordFile::Mode::ReadWrite));
    const QByteArray record("far away record 19\xFF");
    QVERIFY2(file.write(k, record), qPrintable(file.errorString()));
    QCOMPARE(file.length(), k * 19);
    QCOMPARE(file.read(k), record);
    QCOMPARE(file.read(k - 1), zeros(19));
    QCOMPARE(file.read(k + 1), zeros(19));

    QFile raw(path);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QCOMPARE(raw.size(), k * 19);
    QCOMPARE(raw.read(19), QByteArray("first record 19 by") + zeros(1));
    QVERIFY(raw.seek((k - 1) * 19 - 5));
    QCOMPARE(raw.read(24), zeros(5) + record);
    file.close();
    raw.close();
    QFile::remove(path);
}

QTEST_MAIN(TestRecordFile)
#include "tst_record_file.moc"
