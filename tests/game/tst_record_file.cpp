// Guards the record file rules: missing bytes read as zero, writes extend the file with zero-filled gaps, failed opens neither create nor crash.

#include "platform/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestRecordFile : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    QString prepare(const QByteArray &content)
    {
        const QString path = dir_.filePath(QStringLiteral("r.dat"));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(content);
        return path;
    }

    static QByteArray onDisk(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

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
    }
    void readWrite()
    {
        QFETCH(QByteArray, content);
        QFETCH(qint64, k);
        QFETCH(QByteArray, record);
        QFETCH(QByteArray, expected);
        const QString path = prepare(content);
        RecordFile file;
        QVERIFY(file.open(path, 4, record.isEmpty() ? RecordFile::Mode::ReadOnly : RecordFile::Mode::ReadWrite));
        QVERIFY2(record.isEmpty() || file.write(k, record), qPrintable(file.errorString()));
        // A write is checked on disk while the file is still open.
        QCOMPARE(record.isEmpty() ? file.read(k) : onDisk(path), expected);
    }

    void failedOpens()
    {
        RecordFile file;
        const QString missing = dir_.filePath(QStringLiteral("missing.txt"));
        QVERIFY(!file.open(missing, 6, RecordFile::Mode::ReadOnly));
        QVERIFY(!QFile::exists(missing));
        QVERIFY(!file.isOpen());
        const QString folder = dir_.filePath(QStringLiteral("clvfic1.txt"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(!file.open(folder, 19, RecordFile::Mode::ReadWrite));
        QCOMPARE(file.errorString(), QStringLiteral("un dossier porte ce nom"));
        QVERIFY(file.open(missing, 6, RecordFile::Mode::ReadWrite));
        QVERIFY(QFile::exists(missing));
    }

    void farRecord()
    {
        const QString path = prepare("first record 19 by");
        RecordFile file;
        QVERIFY(file.open(path, 19, RecordFile::Mode::ReadWrite));
        const QByteArray record("far away record 19\xFF");
        QVERIFY2(file.write(40000, record), qPrintable(file.errorString()));
        QCOMPARE(file.read(39999), QByteArray(19, '\0'));
        QCOMPARE(onDisk(path), QByteArray("first record 19 by") + QByteArray(39998 * 19 + 1, '\0') + record);
    }
};

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_record_file.moc"
