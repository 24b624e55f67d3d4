// Guards the 2-byte settings file: an empty file receives "sound on", a stored value is
// read as it is, and saving rewrites the first two bytes and nothing else.

#include "game/SettingsFile.h"

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

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void load_data();
    void load();
    void save_data();
    void save();
    void toggleTwice();

private:
    QTemporaryDir dir_;
};

void TestSettingsFile::load_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("soundOn");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("missing") << false << QByteArray() << -1 << QByteArray("\xFF\xFF");
    QTest::newRow("empty") << true << QByteArray() << -1 << QByteArray("\xFF\xFF");
    QTest::newRow("sound on") << true << QByteArray("\xFF\xFF") << -1 << QByteArray("\xFF\xFF");
    QTest::newRow("sound off") << true << QByteArray("\x00\x00", 2) << 0 << QByteArray("\x00\x00", 2);
    QTest::newRow("other value, little-endian") << true << QByteArray("\x01\x02") << 0x0201
                                                << QByteArray("\x01\x02");
    QTest::newRow("longer file") << true << QByteArray("\x00\x00\xAB\xCD", 4) << 0
                                 << QByteArray("\x00\x00\xAB\xCD", 4);
}

void TestSettingsFile::load()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    QFETCH(int, soundOn);
    QFETCH(QByteArray, after);

    const QString path = dir_.filePath(QStringLiteral("clavimo.ini"));
    QFile::remove(path);
    if (exists)
        writeBytes(path, content);
    SettingsFile file;
    QVERIFY(file.open(path));
    qint16 value = 12345;
    QVERIFY(file.loadOrCreate(&value));
    QCOMPARE(int(value), soundOn);
    QCOMPARE(fileBytes(path), after);
}

void TestSettingsFile::save_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("soundOn");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("turn off") << QByteArray("\xFF\xFF") << 0 << QByteArray("\x00\x00", 2);
    QTest::newRow("turn on") << QByteArray("\x00\x00", 2) << -1 << QByteArray("\xFF\xFF");
    QTest::newRow("only the first two bytes") << QByteArray("\xFF\xFF\x12\x34\x56") << 0
                                              << QByteArray("\x00\x00\x12\x34\x56", 5);
    QTest::newRow("empty file") << QByteArray() << 0 << QByteArray("\x00\x00", 2);
    QTest::newRow("one byte") << QByteArray("\x07") << -1 << QByteArray("\xFF\xFF");
}

void TestSettingsFile::save()
{
    QFETCH(QByteArray, content);
    QFETCH(int, soundOn);
    QFETCH(QByteArray, after);

    const QString path = dir_.filePath(QStringLiteral("clavimo.ini"));
    writeBytes(path, content);
    SettingsFile file;
    QVERIFY(file.open(path));
    QVERIFY(file.save(qint16(soundOn)));
    // Checked while open: the value is on disk as soon as it is saved.
    QCOMPARE(fileBytes(path), after);
}

void TestSettingsFile::toggleTwice()
{
    const QString path = dir_.filePath(QStringLiteral("toggle.ini"));
    QFile::remove(path);
    {
        SettingsFile file;
        QVERIFY(file.open(path));
        qint16 value = 0;
        QVERIFY(file.loadOrCreate(&value));
        QVERIFY(file.save(SettingsFile::kSoundOff));
        QCOMPARE(fileBytes(path), QByteArray("\x00\x00", 2));
        QVERIFY(file.save(SettingsFile::kSoundOn));
    }
    QCOMPARE(fileBytes(path), QByteArray("\xFF\xFF"));
    SettingsFile again;
    QVERIFY(again.open(path));
    qint16 value = 0;
    QVERIFY(again.loadOrCreate(&value));
    QCOMPARE(value, SettingsFile::kSoundOn);
}

QTEST_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
