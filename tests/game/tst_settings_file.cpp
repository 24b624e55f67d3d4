// Guards the 2-byte settings file: an empty file receives "sound on", a stored value is read as it is, and a save rewrites the first two bytes only.

#include "game/SettingsFile.h"
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
        QTest::addColumn<bool>("saveOff");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("empty gets sound on") << QByteArray() << -1 << false << QByteArray("\xFF\xFF");
        QTest::newRow("sound off kept") << QByteArray("\0\0", 2) << 0 << false << QByteArray("\0\0", 2);
        QTest::newRow("save in a longer file") << QByteArray("\xFF\xFF\x12\x34\x56") << -1 << true << QByteArray("\0\0\x12\x34\x56", 5);
    }
    void loadThenSave()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, saveOff);
        ScratchFolder folder;
        folder.write(SettingsFile::fileName(), content);
        SettingsFile file;
        QVERIFY(file.open(SettingsFile::fileName()));
        qint16 value = 12345;
        QVERIFY(file.loadOrCreate(&value));
        QTEST(int(value), "loaded");
        QVERIFY(!saveOff || file.save(SettingsFile::kSoundOff));
        QTEST(folder.read(SettingsFile::fileName()), "after"); // on disk while the settings file is still open
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
