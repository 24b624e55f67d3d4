// Guards the hand-over window: the turn passes to the next player (wrapping after the
// last), the next player is named, and the window closes by itself without busy waiting.
#include "app/Clvglob.h"
#include "players/fini.h"
#include "support/TestServices.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <ctime>

class tst_fini : public QObject
{
    Q_OBJECT

private slots:
    // byHand: the title-bar close ends a long wait; otherwise the real two seconds run out.
    void handsOverAndCloses_data()
    {
        QTest::addColumn<QStringList>("players");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("next");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("byHand");
        QTest::newRow("one player, unnamed") << QStringList{"Paul"} << 1 << 1 << QString() << true;
        QTest::newRow("last wraps to first, closes by itself")
            << QStringList{"Anne", "Bruno", "Chloé"} << 3 << 1 << "Joueur suivant : Anne" << false;
        QTest::newRow("name longer than a record, not cut")
            << QStringList{"Anne", "Marie-Charlotte-Eugénie"} << 1 << 2
            << "Joueur suivant : Marie-Charlotte-Eugénie" << true;
    }
    void handsOverAndCloses()
    {
        QFETCH(QStringList, players);
        QFETCH(bool, byHand);
        TestServices services;
        ScratchFolder scratch;
        clvglob().PlayerList = players;
        clvglob().PlayerCount = int(players.size());
        QFETCH(int, current);
        clvglob().CurrentPlayer = current;
        static const int realWait = fini::waitInterval();
        fini::setWaitIntervalForTests(byHand ? 10000 : realWait);
        fini f;
        QTEST(clvglob().CurrentPlayer, "next");
        QTEST(f.label->text(), "caption");
        QCOMPARE(clvglob().PlayerList, players);

        QTimer::singleShot(8000, &f, [&f] { f.close(); }); // a stuck window fails the time check
        if (byHand)
            QTimer::singleShot(100, &f, [&f] { f.close(); });
        const std::clock_t cpuBefore = std::clock();
        QElapsedTimer wall;
        wall.start();
        f.exec();
        const qint64 ms = wall.elapsed();
        const double cpuMs = double(std::clock() - cpuBefore) * 1000.0 / CLOCKS_PER_SEC;

        QVERIFY2(byHand ? ms < 1000 : ms >= 1900 && ms <= 3000, qPrintable(QString::number(ms)));
        QVERIFY2(cpuMs < ms / 4.0 + 50, qPrintable(QString("%1 ms busy in %2 ms").arg(cpuMs).arg(ms)));
        QVERIFY(!f.isVisible() && !f.Timer1->isActive());
        QCOMPARE(f.result(), int(byHand ? QDialog::Rejected : QDialog::Accepted));
        QTEST(clvglob().CurrentPlayer, "next");
    }
};

QTEST_MAIN(tst_fini)
#include "tst_fini.moc"
