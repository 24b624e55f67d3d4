// Guards the hand-over window: it names the next player when there are several, and
// closes itself after its wait without busy waiting, or at once when closed by hand.
#include "ui/HandOverWindow.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <ctime>

class TestHandOverWindow : public QObject
{
    Q_OBJECT

private slots:
    // byHand: the title-bar close ends a long wait; otherwise the real two seconds run out.
    void namesAndCloses_data()
    {
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("byHand");
        QTest::newRow("one player, unnamed") << QString() << QString() << true;
        QTest::newRow("next player named, closes by itself") << "Anne" << "Joueur suivant : Anne" << false;
        QTest::newRow("name longer than a record, not cut")
            << "Marie-Charlotte-Eugénie" << "Joueur suivant : Marie-Charlotte-Eugénie" << true;
    }
    void namesAndCloses()
    {
        QFETCH(QString, next);
        QFETCH(bool, byHand);
        HandOverWindow w(next, byHand ? 10000 : 2000);
        QTEST(w.findChild<QLabel *>(QStringLiteral("nextPlayer"))->text(), "caption");

        QTimer::singleShot(8000, &w, [&w] { w.close(); }); // a stuck window fails the time check
        if (byHand)
            QTimer::singleShot(100, &w, [&w] { w.close(); });
        const std::clock_t cpuBefore = std::clock();
        QElapsedTimer wall;
        wall.start();
        w.exec();
        const qint64 ms = wall.elapsed();
        const double cpuMs = double(std::clock() - cpuBefore) * 1000.0 / CLOCKS_PER_SEC;

        QVERIFY2(byHand ? ms < 1000 : ms >= 1900 && ms <= 3000, qPrintable(QString::number(ms)));
        QVERIFY2(cpuMs < ms / 4.0 + 50, qPrintable(QString("%1 ms busy in %2 ms").arg(cpuMs).arg(ms)));
        QVERIFY(!w.isVisible() && !w.findChild<QTimer *>()->isActive());
        QCOMPARE(w.result(), int(byHand ? QDialog::Rejected : QDialog::Accepted));
    }
};

QTEST_MAIN(TestHandOverWindow)
#include "tst_hand_over_window.moc"
