// Guards the class overview's rules: the trend over the latest averages, who needs
// attention and why, and the characters missed most, smoothed as targeted practice does.
#include "game/progress/ClassOverview.h"

#include <QtTest>

namespace {

const QDateTime kNow(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);

} // namespace

class TestClassOverview : public QObject
{
    Q_OBJECT

private slots:
    // Averages oldest first; the player's share of wrong keys against the class's; the
    // latest game so many days ago (-1: an unreadable date); the trend and the reasons.
    void rules_data()
    {
        QTest::addColumn<QString>("averages");
        QTest::addColumn<double>("share");
        QTest::addColumn<double>("classShare");
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<QString>("trend");
        QTest::addColumn<QString>("reasons");
        QTest::newRow("no game") << "" << -1.0 << 0.1 << 1 << "trop peu de parties" << "";
        QTest::newRow("three games") << "500 900 900" << 0.1 << 0.1 << 1 << "trop peu de parties" << "";
        QTest::newRow("steady") << "500 500 500 500" << 0.1 << 0.1 << 1 << "stable" << "";
        QTest::newRow("4.9 % slower") << "1000 1000 1049 1049" << 0.1 << 0.1 << 1 << "stable" << "";
        QTest::newRow("5 % slower") << "1000 1000 1050 1050" << 0.1 << 0.1 << 1 << "plus lent" << "ralentit";
        QTest::newRow("5 % faster") << "1000 1000 950 950" << 0.1 << 0.1 << 1 << "plus rapide" << "";
        QTest::newRow("odd: middle left out") << "500 500 9000 500 500" << 0.1 << 0.1 << 1 << "stable" << "";
        QTest::newRow("ten, newer half") << "600 600 600 600 600 500 500 500 500 500" << 0.1 << 0.1 << 1 << "plus rapide" << "";
        QTest::newRow("zero averages") << "0 0 0 0" << 0.1 << 0.1 << 1 << "trop peu de parties" << "";
        QTest::newRow("a fifth above the class") << "500 500 500 500" << 0.12 << 0.1 << 1 << "stable" << "";
        QTest::newRow("more than a fifth") << "500 500 500 500" << 0.121 << 0.1 << 1 << "stable" << "plus de fautes que la classe";
        QTest::newRow("any wrong key, class none") << "500 500 500 500" << 0.01 << 0.0 << 1 << "stable" << "plus de fautes que la classe";
        QTest::newRow("six days") << "" << -1.0 << 0.1 << 6 << "trop peu de parties" << "";
        QTest::newRow("eight days") << "" << -1.0 << 0.1 << 8 << "trop peu de parties" << "aucune partie depuis 7\u00A0jours";
        QTest::newRow("unreadable date") << "" << -1.0 << 0.1 << -1 << "trop peu de parties" << "aucune partie depuis 7\u00A0jours";
        QTest::newRow("all three") << "500 500 600 600" << 0.5 << 0.1 << 9 << "plus lent"
                                   << "ralentit, plus de fautes que la classe, aucune partie depuis 7\u00A0jours";
    }
    void rules()
    {
        QFETCH(QString, averages);
        QFETCH(double, share);
        QFETCH(double, classShare);
        QFETCH(int, daysAgo);
        QFETCH(QString, trend);
        QFETCH(QString, reasons);
        QList<qint64> list;
        for (const QString &a : averages.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            list << a.toLongLong();
        const ClassOverview::Trend found = ClassOverview::trend(list);
        QCOMPARE(ClassOverview::trendText(found), trend);
        const QDateTime last = daysAgo < 0 ? QDateTime() : kNow.addDays(-daysAgo);
        QCOMPARE(ClassOverview::reasonText(ClassOverview::reasons(found, share, classShare, last, kNow)), reasons);
    }

    // The share of wrong keys among the keys pressed, and the class's over every player;
    // the characters missed most: 10 wrong in 40 outranks 1 in 2 once smoothed toward the
    // player's rate, never-missed characters stay out, three at most.
    void figures()
    {
        QCOMPARE(ClassOverview::wrongShare(1, 9), 0.1);
        QCOMPARE(ClassOverview::wrongShare(0, 0), -1.0);
        PlayerFigures anne;
        anne.recentWrong = 10;
        anne.recentDue = 90;
        anne.lastPlayed = kNow;
        for (const auto &[c, due, wrong] : {std::tuple("A", 2, 1), {"B", 40, 10}, {"C", 400, 0}, {"D", 100, 3},
                                            {"E", 100, 2}, {"F", 10, 0}})
            anne.characters << RecentCharacter{QString::fromLatin1(c), due, wrong, 0, 0};
        PlayerFigures bruno;
        bruno.recentWrong = 30;
        bruno.recentDue = 70;
        bruno.lastPlayed = kNow;
        const ClassOverview overview = ClassOverview::build({anne, bruno}, 1, kNow);
        QCOMPARE(overview.classShare(), 0.2);
        QCOMPARE(overview.players()[0].missed, (QList<QChar>{u'B', u'A', u'D'}));
        QCOMPARE(overview.players()[0].reasons, 0);
        QCOMPARE(overview.players()[1].reasons, int(ClassOverview::MoreWrongKeys));
    }
};

QTEST_GUILESS_MAIN(TestClassOverview)
#include "tst_class_overview.moc"
