// Guards the records list's line format and its ranking, which must match the plain exchange sort, ties included
// (the header line is checked in the records window's tests).
#include "game/RecordsList.h"
#include "support/ExchangeSort.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

class TestRecordsList : public QObject
{
    Q_OBJECT

private slots:
    void line_data()
    {
        QTest::addColumn<int>("rank");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("mini");
        QTest::addColumn<QString>("expected");
        QTest::newRow("rank 1, Mini 5") << 1 << "Paul" << 5 << " 1   Paul            5    456";
        QTest::newRow("rank 10, Mini 555, accents") << 10 << "Zoé" << 555 << " 10  Zoé             555  456";
        QTest::newRow("rank 99, Mini 9999") << 99 << "Bob" << 9999 << " 99  Bob             9999 456";
        QTest::newRow("rank 100 keeps its digits") << 100 << "Bob" << 123 << " 100  Bob             123  456";
        QTest::newRow("15-character name") << 2 << "Maximilienne-Jo" << 300 << " 2   Maximilienne-Jo 300  456";
        QTest::newRow("six-character Mini") << 5 << "Y" << -32768 << " 5   Y               -32768456";
    }

    void line()
    {
        QFETCH(int, rank);
        QFETCH(QString, name);
        QFETCH(int, mini);
        QTEST(recordLine(rank, PlayerRecord{FitName(name), qint16(mini), 456}), "expected");
    }

    void matchesExchangeSort_data()
    {
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::newRow("two values") << 0 << 1;
        QTest::newRow("five values") << 298 << 302;
        QTest::newRow("game-like range") << 150 << 1200;
        QTest::newRow("whole 16-bit range") << -32768 << 32767;
    }

    void matchesExchangeSort()
    {
        QFETCH(int, low);
        QFETCH(int, high);
        QRandomGenerator rng(quint32(low * 7919 + high));
        for (int run = 0; run < 3 * 301; ++run) { // three runs of each size from 0 to 300
            std::vector<qint16> values(std::size_t(run / 3));
            std::generate(values.begin(), values.end(), [&] { return qint16(rng.bounded(low, high + 1)); });
            QVERIFY2(exchangeSortOrder(values) == literalExchangeSort(values), qPrintable(QString::number(run / 3)));
        }
    }
};

QTEST_APPLESS_MAIN(TestRecordsList)
#include "tst_records_list.moc"
