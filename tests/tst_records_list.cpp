// Guards the records list's line format and its ranking, which must match the plain exchange sort, ties included.
#include "records/RecordsList.h"

#include <QRandomGenerator>
#include <QTest>

#include <numeric>

namespace {

// The exchange sort written out literally, on indices so that ties can be told apart.
std::vector<int> referenceOrder(const std::vector<qint16> &values)
{
    std::vector<int> idx(values.size());
    std::iota(idx.begin(), idx.end(), 0);
    for (std::size_t i = 0; i + 1 < idx.size(); ++i)
        for (std::size_t j = i + 1; j < idx.size(); ++j)
            if (values[idx[j]] < values[idx[i]])
                std::swap(idx[i], idx[j]);
    return idx;
}

PlayerRecord player(const QString &name, qint16 mini, qint16 average)
{
    PlayerRecord r;
    r.setName(name);
    r.Mini = mini;
    r.Average = average;
    return r;
}

} // namespace

class TestRecordsList : public QObject
{
    Q_OBJECT

private slots:
    void header()
    {
        const QString h = recordsHeader();
        QCOMPARE(h, QStringLiteral("Rang  Prénom                       Mini   Moyenne"));
        QCOMPARE(h.size(), 49);
    }

    void line_data()
    {
        QTest::addColumn<int>("rank");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("mini");
        QTest::addColumn<int>("average");
        QTest::addColumn<QString>("expected");

        QTest::newRow("example") << 1 << "Paul" << 123 << 456
                                 << " 1   Paul            123  456";
        QTest::newRow("rank 9") << 9 << "Ève" << 5 << 800 << " 9   Ève             5    800";
        QTest::newRow("rank 10") << 10 << "Zoé" << 55 << 9999 << " 10  Zoé             55   9999";
        QTest::newRow("rank 99") << 99 << "Bob" << 555 << 1000 << " 99  Bob             555  1000";
        QTest::newRow("rank 100 keeps its digits")
            << 100 << "Bob" << 9999 << 9999 << " 100  Bob             9999 9999";
        QTest::newRow("rank 123") << 123 << "Al" << 7 << 70 << " 123  Al              7    70";
        QTest::newRow("15-character name") << 2 << "Maximilienne-Jo" << 300 << 412
                                            << " 2   Maximilienne-Jo 300  412";
        QTest::newRow("longer name cut to 15") << 3 << "Maximilienne-Joséphine" << 10 << 20
                                               << " 3   Maximilienne-Jo 10   20";
        QTest::newRow("negative values as read") << 4 << "X" << -5 << -12
                                                 << " 4   X               -5   -12";
        QTest::newRow("six-character Mini not cut") << 5 << "Y" << -32768 << 0
                                                    << " 5   Y               -327680";
    }

    void line()
    {
        QFETCH(int, rank);
        QFETCH(QString, name);
        QFETCH(int, mini);
        QFETCH(int, average);
        QFETCH(QString, expected);
        QCOMPARE(recordLine(rank, player(name, qint16(mini), qint16(average))), expected);
    }

    void knownOrders_data()
    {
        QTest::addColumn<QList<int>>("averages");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("exchange puts B before A") << QList<int>{400, 400, 300} << QList<int>{2, 1, 0};
        QTest::newRow("plain ranking") << QList<int>{300, 250, 9999} << QList<int>{1, 0, 2};
        QTest::newRow("all equal keep file order") << QList<int>{7, 7, 7, 7} << QList<int>{0, 1, 2, 3};
        QTest::newRow("ties behind descending run")
            << QList<int>{5, 5, 4, 5, 3} << QList<int>{4, 2, 0, 3, 1};
        QTest::newRow("signed comparison") << QList<int>{1, -1, 0} << QList<int>{1, 2, 0};
        QTest::newRow("empty") << QList<int>{} << QList<int>{};
        QTest::newRow("one") << QList<int>{9999} << QList<int>{0};
    }

    void knownOrders()
    {
        QFETCH(QList<int>, averages);
        QFETCH(QList<int>, order);
        std::vector<qint16> values;
        for (int a : averages)
            values.push_back(qint16(a));
        const std::vector<int> got = exchangeSortOrder(values);
        QCOMPARE(QList<int>(got.begin(), got.end()), order);
        QCOMPARE(got, referenceOrder(values));
    }

    void matchesExchangeSort_data()
    {
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::newRow("one value") << 5 << 5;
        QTest::newRow("two values") << 0 << 1;
        QTest::newRow("three values") << 0 << 2;
        QTest::newRow("five values") << 298 << 302;
        QTest::newRow("twenty values") << -10 << 9;
        QTest::newRow("game-like range") << 150 << 1200;
        QTest::newRow("whole 16-bit range") << -32768 << 32767;
    }

    void matchesExchangeSort()
    {
        QFETCH(int, low);
        QFETCH(int, high);
        QRandomGenerator rng(quint32(low * 7919 + high));
        for (int size = 0; size <= 300; ++size) {
            for (int round = 0; round < 3; ++round) {
                std::vector<qint16> values(std::size_t(size), 0);
                for (qint16 &v : values)
                    v = qint16(rng.bounded(low, high + 1));
                const std::vector<int> got = exchangeSortOrder(values);
                if (got != referenceOrder(values))
                    QFAIL(qPrintable(QStringLiteral("order differs for size %1, round %2")
                                         .arg(size)
                                         .arg(round)));
            }
        }
    }

    void rankingMovesWholeRecords()
    {
        const QList<PlayerRecord> ranked = rankByAverage({player(QStringLiteral("A"), 100, 400),
                                                          player(QStringLiteral("B"), 50, 400),
                                                          player(QStringLiteral("C"), 900, 300)});
        QStringList names;
        QList<qint16> minis;
        for (const PlayerRecord &r : ranked) {
            names << r.Name.trimmed();
            minis << r.Mini;
        }
        QCOMPARE(names, (QStringList{"C", "B", "A"}));
        QCOMPARE(minis, (QList<qint16>{900, 50, 100}));
        QCOMPARE(recordLines(ranked).value(1), QStringLiteral(" 2   B               50   400"));
    }
};

QTEST_APPLESS_MAIN(TestRecordsList)
#include "tst_records_list.moc"
