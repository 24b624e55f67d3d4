// Guards the hand-over window: it names the next player, whole, when there is one, and
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
    void namesAndCloses()
    {
        // Rows: the next player, and whether the title-bar close ends a long wait (else the real two seconds run out).
        for (const auto &[next, byHand] : {std::pair{QString(), true}, {QStringLiteral("Marie-Charlotte-Eugénie"), false}}) {
            HandOverWindow w(next, byHand ? 10000 : 2000);
            const QString caption = w.findChild<QLabel *>(QStringLiteral("nextPlayer"))->text();
            QVERIFY(caption.isEmpty() == next.isEmpty() && caption.endsWith(next));
            QTimer::singleShot(byHand ? 100 : 8000, &w, [&w] { w.close(); }); // a stuck window fails the time check
            const std::clock_t cpuBefore = std::clock();
            QElapsedTimer wall;
            wall.start();
            w.exec();
            const qint64 ms = wall.elapsed(), cpuMs = (std::clock() - cpuBefore) * 1000 / CLOCKS_PER_SEC;
            QVERIFY2(byHand ? ms < 1000 : ms >= 1900 && ms <= 3000, qPrintable(QString::number(ms)));
            QVERIFY2(cpuMs < 150, qPrintable(QString("%1 ms busy in %2 ms").arg(cpuMs).arg(ms)));
            QVERIFY(!w.findChild<QTimer *>()->isActive());
            QCOMPARE(w.result(), int(byHand ? QDialog::Rejected : QDialog::Accepted));
        }
    }
};

QTEST_MAIN(TestHandOverWindow)
#include "tst_hand_over_window.moc"
