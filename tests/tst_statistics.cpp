// Guards the arithmetic of a game (error penalty, floor of the average, the 1 ms floor)
// and the exact spacing of every caption that shows a time.
#include "records/Statistics.h"

#include <QTest>

class tst_statistics : public QObject
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
        QTest::newRow("0.9 rounded down") << qint64(9) << qint64(1) << qint64(9);
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
        QTest::newRow("exact") << qint64(600) << qint64(2) << qint64(300);
        QTest::newRow("just below next") << qint64(399) << qint64(4) << qint64(99);
        QTest::newRow("one item") << qint64(1) << qint64(1) << qint64(1);
    }
    void average()
    {
        QFETCH(qint64, total);
        QFETCH(qint64, count);
        QFETCH(qint64, expected);
        QCOMPARE(Statistics::average(total, count), expected);
    }

    void captions_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("expected");
        const QString paul = QStringLiteral("Paul           ");
        QTest::newRow("game mini") << Statistics::gameMiniCaption(523) << QStringLiteral("Mini    :  523");
        QTest::newRow("game average") << Statistics::gameAverageCaption(100) << QStringLiteral("Moyenne   :  100");
        QTest::newRow("perso mini") << Statistics::persoMiniCaption(9999) << QStringLiteral("Mini    :  9999");
        QTest::newRow("perso average") << Statistics::persoAverageCaption(9999) << QStringLiteral("Moyenne :  9999");
        QTest::newRow("negative from a damaged file") << Statistics::persoMiniCaption(-3) << QStringLiteral("Mini    : -3");
        QTest::newRow("abs mini on load") << Statistics::absMiniLoadedCaption(paul, 250)
                                          << QStringLiteral("Paul            Mini :     250");
        QTest::newRow("abs average on load") << Statistics::absAverageLoadedCaption(paul, 300)
                                             << QStringLiteral("Paul           Moyenne :  300");
        QTest::newRow("abs mini beaten") << Statistics::absMiniBeatenCaption(paul, 250)
                                         << QStringLiteral("Paul            Mini    :     250");
        QTest::newRow("abs average beaten, name not fitted")
            << Statistics::absAverageBeatenCaption(QStringLiteral("Jean-christophe-marie"), 300)
            << QStringLiteral("Jean-christophe-marie Moyenne :  300");
    }
    void captions()
    {
        QFETCH(QString, caption);
        QFETCH(QString, expected);
        QCOMPARE(caption, expected);
    }
};

QTEST_GUILESS_MAIN(tst_statistics)
#include "tst_statistics.moc"
