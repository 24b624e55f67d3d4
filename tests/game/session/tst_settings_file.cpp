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
    // "file > value loaded, value saved, file after"
    void loadThenSave()
    {
        const QList<std::tuple<QByteArray, int, int, QByteArray>> rows = {
            {"", -1, -1, "\xFF\xFF"}, {QByteArray("\0\0", 2), 0, 0, QByteArray("\0\0", 2)}, {"\x05", 5, -1, "\xFF\xFF"},
            {"\xFF\xFF\x12\x34\x56", -1, 0x1234, "\x34\x12\x12\x34\x56"}};
        for (const auto &[content, loaded, saved, after] : rows) {
            ScratchFolder folder;
            folder.write(SettingsFile::fileName(), content);
            qint16 value = 12345;
            {
                SettingsFile file;
                QVERIFY(file.open(SettingsFile::fileName()) && file.loadOrCreate(&value));
                QCOMPARE(int(value), loaded);
                QCOMPARE(folder.read(SettingsFile::fileName()), content.isEmpty() ? QByteArray("\xFF\xFF") : content);
                QVERIFY(file.save(qint16(saved)));
                QCOMPARE(folder.read(SettingsFile::fileName()), after); // on disk while the file is still open
            }
            SettingsFile again;
            QVERIFY(again.open(SettingsFile::fileName()) && again.loadOrCreate(&value));
            QCOMPARE(int(value), saved);
        }
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
