// Guards the 19-byte player entry on disk (name, Mini, Average) and the reading of entries the file lacks.

#include "game/records/PlayerFile.h"
#include "support/TestDoubles.h"

#include <QtTest>

class TestPlayerFile : public QObject
{
    Q_OBJECT

private slots:
    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("mini");
        QTest::addColumn<int>("average");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("unset, -1") << QStringLiteral("Anne") << 9999 << -1 << QByteArray("Anne           \x0F\x27\xFF\xFF", 19);
        QTest::newRow("accents cut, 16-bit extremes") << QStringLiteral("Éléonore-Joséphine") << -32768 << 32767
                                                      << QByteArray("\xC9l\xE9onore-Jos\xE9ph\x00\x80\xFF\x7F", 19);
    }
    void layout()
    {
        QFETCH(QString, name);
        QFETCH(int, mini);
        QFETCH(int, average);
        QFETCH(QByteArray, bytes);
        ScratchFolder folder;
        PlayerFile file;
        QVERIFY(file.open(QStringLiteral("players")));
        QVERIFY(file.write(1, PlayerEntry{FitName(name), qint16(mini), qint16(average)}));
        QCOMPARE(folder.read(QStringLiteral("players")), bytes);
        QCOMPARE(file.read(1).Name, FitName(name));
        QCOMPARE(file.read(1).toBytes(), bytes);
        QCOMPARE(file.read(2).Name, QString(15, QChar(0)));
        QCOMPARE(file.read(2).toBytes(), QByteArray(19, '\0'));
    }
};

QTEST_GUILESS_MAIN(TestPlayerFile)
#include "tst_player_file.moc"
