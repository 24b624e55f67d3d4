// Guards the arithmetic of a game: the error penalty, the floor of the average and the
// 1 ms floor (the captions that show them are checked in the main window's tests).
#include "game/Statistics.h"

#include <QTest>

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void itemTime_data()
    {
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<qint64>("errors");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("no error") << qint64(500) << qint64(0) << qint64(500);
        QTest::newRow("two errors add a fifth") << qint64(500) << qint64(2) << qint64(600);
        QTest::newRow("fraction rounded down") << qint64(523) << qint64(1) << qint64(575);
        QTest::newRow("zero counts as one") << qint64(0) << qint64(0) << qint64(1);
        QTest::newRow("zero with errors counts as one") << qint64(0) << qint64(5) << qint64(1);
        QTest::newRow("ten errors double") << qint64(777) << qint64(10) << qint64(1554);
        QTest::newRow("long item beyond 16 bits") << qint64(40000) << qint64(3) << qint64(52000);
        QTest::newRow("exact tenths") << qint64(30) << qint64(1) << qint64(33);
    }
    void itemTime()
    {
        QFETCH(qint64, raw);
        QFETCH(qint64, errors);
        QFETCH(qint64, expected);
        QCOMPARE(Statistics::itemTime(raw, errors), expected);
    }

    void average_data()
    {
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("100, 101, 101") << qint64(302) << qint64(3) << qint64(100);
        QTest::newRow("just below next") << qint64(399) << qint64(4) << qint64(99);
    }
    void average()
    {
        QFETCH(qint64, total);
        QFETCH(qint64, count);
        QFETCH(qint64, expected);
        QCOMPARE(Statistics::average(total, count), expected);
    }
};

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
