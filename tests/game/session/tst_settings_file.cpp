// Guards the 2-byte settings file: an empty file receives "sound on", a stored value is
// read as it is (a missing second byte as zero), and a save rewrites the first two bytes
// only, for the next start to read.
#include "game/session/SettingsFile.h"
#include "support/TestDoubles.h"

#include <QtTest>

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void loadThenSave_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("loaded");
        QTest::addColumn<int>("saved");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("empty gets sound on") << QByteArray() << -1 << -1 << QByteArray("\xFF\xFF");
        QTest::newRow("sound off kept") << QByteArray("\0\0", 2) << 0 << 0 << QByteArray("\0\0", 2);
        QTest::newRow("one byte") << QByteArray("\x05") << 5 << -1 << QByteArray("\xFF\xFF");
        QTest::newRow("longer file") << QByteArray("\xFF\xFF\x12\x34\x56") << -1 << 0x1234 << QByteArray("\x34\x12\x12\x34\x56");
    }
    void loadThenSave()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, saved);
        ScratchFolder folder;
        folder.write(SettingsFile::fileName(), content);
        qint16 value = 12345;
        {
            SettingsFile file;
            QVERIFY(file.open(SettingsFile::fileName()));
            QVERIFY(file.loadOrCreate(&value));
            QTEST(int(value), "loaded");
            QCOMPARE(folder.read(SettingsFile::fileName()), content.isEmpty() ? QByteArray("\xFF\xFF") : content);
            QVERIFY(file.save(qint16(saved)));
            QTEST(folder.read(SettingsFile::fileName()), "after"); // on disk while the file is still open
        }
        SettingsFile again;
        QVERIFY(again.open(SettingsFile::fileName()) && again.loadOrCreate(&value));
        QCOMPARE(int(value), saved);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
