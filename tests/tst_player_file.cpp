// Guards the 19-byte player record on disk (name, Mini, Average) and how the player file
// reads missing records and counts records in a file of any length.

#include "records/PlayerFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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

} // namespace

class TestPlayerFile : public QObject
{
    Q_OBJECT

private slots:
    void recordLayout_data();
    void recordLayout();
    void recordsKeepTheirPlace();
    void readingPastTheEnd_data();
    void readingPastTheEnd();
    void recordCount_data();
    void recordCount();
    void openKeepsExistingRecords();

private:
    QTemporaryDir dir_;
};

void TestPlayerFile::recordLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("mini");
    QTest::addColumn<int>("average");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("placeholder Mini") << QStringLiteral("xxxxx") << 9999 << 0
                                      << QByteArray("xxxxx          \x0F\x27\x00\x00", 19);
    QTest::newRow("placeholder Average") << QStringLiteral("xxxxx") << 0 << 9999
                                         << QByteArray("xxxxx          \x00\x00\x0F\x27", 19);
    QTest::newRow("minus one") << QStringLiteral("Anne") << -1 << 1
                               << QByteArray("Anne           \xFF\xFF\x01\x00", 19);
    QTest::newRow("16-bit extremes") << QStringLiteral("Paul") << -32768 << 32767
                                     << QByteArray("Paul           \x00\x80\xFF\x7F", 19);
    QTest::newRow("accents one byte each") << QStringLiteral("Éloïse") << 312 << 1234
                                           << QByteArray("\xC9lo\xEFse         \x38\x01\xD2\x04", 19);
    QTest::newRow("long name cut") << QStringLiteral("Jean-Baptistine Durand") << 500 << 600
                                   << QByteArray("Jean-Baptistine\xF4\x01\x58\x02", 19);
    QTest::newRow("letter outside the code page") << QStringLiteral("Łukasz") << 9999 << 9999
                                                  << QByteArray("?ukasz         \x0F\x27\x0F\x27", 19);
}

void TestPlayerFile::recordLayout()
{
    QFETCH(QString, name);
    QFETCH(int, mini);
    QFETCH(int, average);
    QFETCH(QByteArray, bytes);

    const QString path = dir_.filePath(QStringLiteral("layout.txt"));
    writeBytes(path, QByteArray());
    PlayerFile file;
    QVERIFY(file.open(path));
    PlayerRecord r;
    r.setName(name);
    r.Mini = qint16(mini);
    r.Average = qint16(average);
    QVERIFY(file.write(1, r));
    QCOMPARE(fileBytes(path), bytes);

    const PlayerRecord back = file.read(1);
    QCOMPARE(back.Name, FitName(name));
    QCOMPARE(int(back.Mini), mini);
    QCOMPARE(int(back.Average), average);
    QCOMPARE(PlayerRecord::fromBytes(bytes).Name, FitName(name));
}

void TestPlayerFile::recordsKeepTheirPlace()
{
    // Records 1 and 2 as a new file receives them, then the first player.
    const QString path = dir_.filePath(QStringLiteral("clvfic1.txt"));
    writeBytes(path, QByteArray());
    PlayerFile file;
    QVERIFY(file.open(path));
    PlayerRecord r;
    r.setName(QStringLiteral("Zoé"));
    r.Mini = r.Average = PlayerRecord::kUnset;
    QVERIFY(file.write(3, r));
    r = PlayerRecord();
    r.setName(QStringLiteral("xxxxx"));
    r.Mini = PlayerRecord::kUnset;
    QVERIFY(file.write(1, r));
    r.Mini = 0;
    r.Average = PlayerRecord::kUnset;
    QVERIFY(file.write(2, r));

    const QByteArray expected = QByteArray("xxxxx          \x0F\x27\x00\x00", 19)
        + QByteArray("xxxxx          \x00\x00\x0F\x27", 19)
        + QByteArray("Zo\xE9            \x0F\x27\x0F\x27", 19);
    QCOMPARE(fileBytes(path), expected);
    QCOMPARE(file.length(), qint64(57));
    QCOMPARE(file.read(3).Name, QStringLiteral("Zoé            "));
}

void TestPlayerFile::readingPastTheEnd_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("k");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("mini");
    QTest::addColumn<int>("average");

    const QByteArray anne("Anne           \x0F\x27\xFF\xFF", 19);
    QTest::newRow("empty file") << QByteArray() << qint64(1) << QString(15, QChar(0)) << 0 << 0;
    QTest::newRow("one record, record 2") << anne << qint64(2) << QString(15, QChar(0)) << 0 << 0;
    QTest::newRow("far past the end") << anne << qint64(40000) << QString(15, QChar(0)) << 0 << 0;
    QTest::newRow("whole record") << anne << qint64(1) << QStringLiteral("Anne           ") << 9999 << -1;
    // A record cut inside Mini: the missing high byte reads as zero.
    QTest::newRow("cut inside Mini") << anne + anne.left(16) << qint64(2) << QStringLiteral("Anne           ")
                                     << 0x0F << 0;
    QTest::newRow("cut inside the name") << anne + QByteArray("Bob") << qint64(2)
                                         << QStringLiteral("Bob") + QString(12, QChar(0)) << 0 << 0;
}

void TestPlayerFile::readingPastTheEnd()
{
    QFETCH(QByteArray, content);
    QFETCH(qint64, k);
    QFETCH(QString, name);
    QFETCH(int, mini);
    QFETCH(int, average);

    const QString path = dir_.filePath(QStringLiteral("past.txt"));
    writeBytes(path, content);
    PlayerFile file;
    QVERIFY(file.open(path));
    const PlayerRecord r = file.read(k);
    QCOMPARE(r.Name, name);
    QCOMPARE(int(r.Mini), mini);
    QCOMPARE(int(r.Average), average);
    QCOMPARE(fileBytes(path), content);
}

void TestPlayerFile::recordCount_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<double>("records");
    QTest::newRow("empty") << 0 << 0.0;
    QTest::newRow("absolute records only") << 38 << 2.0;
    QTest::newRow("one player") << 57 << 3.0;
    QTest::newRow("short fragment") << 66 << 66 / 19.0;
    QTest::newRow("long fragment") << 67 << 67 / 19.0;
    QTest::newRow("less than a record") << 10 << 10 / 19.0;
}

void TestPlayerFile::recordCount()
{
    QFETCH(int, length);
    QFETCH(double, records);

    const QString path = dir_.filePath(QStringLiteral("count.txt"));
    writeBytes(path, QByteArray(length, 'r'));
    PlayerFile file;
    QVERIFY(file.open(path));
    QCOMPARE(file.length(), qint64(length));
    QCOMPARE(file.recordCount(), records);
    QCOMPARE(file.playerCount(), records - 2);
}

void TestPlayerFile::openKeepsExistingRecords()
{
    const QString path = dir_.filePath(QStringLiteral("clvfic6.txt"));
    const QByteArray content = QByteArray("Anne           \x0F\x27\xFF\xFF", 19).repeated(3);
    writeBytes(path, content);
    PlayerFile file;
    QVERIFY(file.open(path));
    QVERIFY(file.open(path));
    QCOMPARE(file.length(), qint64(57));
    file.close();
    QCOMPARE(fileBytes(path), content);

    const QString missing = dir_.filePath(QStringLiteral("new.txt"));
    QVERIFY(file.open(missing));
    QCOMPARE(fileBytes(missing), QByteArray());
    QVERIFY(QFile::exists(missing));
}

QTEST_MAIN(TestPlayerFile)
#include "tst_player_file.moc"
