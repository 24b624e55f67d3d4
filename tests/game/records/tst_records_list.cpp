// Guards the records list's line format and its ranking, which must match the plain
// exchange sort, ties included (the header line is checked in the records window's tests).
#include "game/records/RecordsList.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <numeric>

class TestRecordsList : public QObject
{
    Q_OBJECT

private slots:
    // "rank name mini|line", Average 456.
    void line()
    {
        for (const QString row : {"1 Paul 5| 1   Paul            5    456", "10 Zoé 555| 10  Zoé             555  456",
                                  "99 Bob 9999| 99  Bob             9999 456", "100 Bob 123| 100  Bob             123  456",
                                  "2 Maximilienne-Jo 300| 2   Maximilienne-Jo 300  456", "5 Y -32768| 5   Y               -32768456"}) {
            const QStringList f = row.section(u'|', 0, 0).split(u' ');
            QCOMPARE(recordLine(f[0].toInt(), PlayerEntry{FitName(f[1]), qint16(f[2].toInt()), 456}), row.section(u'|', 1));
        }
    }

    // Three runs of each size from 0 to 300, over ranges from two values (many ties) to the
    // whole 16-bit range, against the exchange sort written out literally on indices.
    void matchesExchangeSort()
    {
        for (const auto &[low, high] : {std::pair{0, 1}, std::pair{298, 302}, std::pair{150, 1200}, std::pair{-32768, 32767}}) {
            QRandomGenerator rng(quint32(low * 7919 + high));
            for (int run = 0; run < 3 * 301; ++run) {
                std::vector<qint16> values(std::size_t(run / 3));
                std::generate(values.begin(), values.end(), [&] { return qint16(rng.bounded(low, high + 1)); });
                std::vector<int> order(values.size());
                std::iota(order.begin(), order.end(), 0);
                for (std::size_t i = 0; i + 1 < order.size(); ++i)
                    for (std::size_t j = i + 1; j < order.size(); ++j)
                        if (values[std::size_t(order[j])] < values[std::size_t(order[i])])
                            std::swap(order[i], order[j]);
                QVERIFY2(exchangeSortOrder(values) == order, qPrintable(QString::number(run / 3)));
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestRecordsList)
#include "tst_records_list.moc"
