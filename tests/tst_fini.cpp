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

namespace {

void setPlayers(const QStringList &names, int current)
{
    clvglob().PlayerList = names;
    clvglob().PlayerCount = int(names.size());
    clvglob().CurrentPlayer = current;
}

// Runs the window modally; a stuck window is closed after `limitMs` so the test fails
// instead of hanging. Returns the time the window stayed open.
qint64 runModal(fini &f, int limitMs, bool *stuck)
{
    *stuck = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &f, [&] {
        *stuck = true;
        f.close();
    });
    guard.start(limitMs);
    QElapsedTimer elapsed;
    elapsed.start();
    f.exec();
    return elapsed.elapsed();
}

} // namespace

class tst_fini : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        services_ = std::make_unique<TestServices>();
        scratch_ = std::make_unique<ScratchFolder>();
        fini::setWaitIntervalForTests(50);
    }
    void cleanup()
    {
        fini::setWaitIntervalForTests(2000);
        scratch_.reset();
        services_.reset();
    }

    void advancesAndNamesNextPlayer_data();
    void advancesAndNamesNextPlayer();
    void closesByItselfWhenShown();
    void waitsTwoSecondsWithoutSpinning();
    void titleBarCloseEndsWaitAtOnce();

private:
    std::unique_ptr<TestServices> services_;
    std::unique_ptr<ScratchFolder> scratch_;
};

void tst_fini::advancesAndNamesNextPlayer_data()
{
    QTest::addColumn<QStringList>("players");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("next");
    QTest::addColumn<QString>("caption");

    const QStringList three{QStringLiteral("Anne"), QStringLiteral("Bruno"),
                            QStringLiteral("Chloé")};
    QTest::newRow("one player stays current, unnamed")
        << QStringList{QStringLiteral("Paul")} << 1 << 1 << QString();
    QTest::newRow("three, last wraps to first")
        << three << 3 << 1 << QStringLiteral("Joueur suivant : Anne");
    QTest::newRow("three, first to second")
        << three << 1 << 2 << QStringLiteral("Joueur suivant : Bruno");
    QTest::newRow("three, second to third")
        << three << 2 << 3 << QStringLiteral("Joueur suivant : Chloé");
    QTest::newRow("two, name longer than a record")
        << QStringList{QStringLiteral("Anne"), QStringLiteral("Marie-Charlotte-Eugénie")} << 1
        << 2 << QStringLiteral("Joueur suivant : Marie-Charlotte-Eugénie");
}

void tst_fini::advancesAndNamesNextPlayer()
{
    QFETCH(QStringList, players);
    QFETCH(int, current);
    QFETCH(int, next);
    QFETCH(QString, caption);
    setPlayers(players, current);

    fini f;

    QCOMPARE(clvglob().CurrentPlayer, next);
    QCOMPARE(f.label->text(), caption);
    QCOMPARE(clvglob().PlayerList, players);
}

void tst_fini::closesByItselfWhenShown()
{
    setPlayers({QStringLiteral("Anne"), QStringLiteral("Bruno")}, 2);

    // Shown without a modal loop of its own, it still waits and closes.
    fini shown;
    shown.show();
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isVisible(), 2000);
    QCOMPARE(clvglob().CurrentPlayer, 1);

    fini modal;
    bool stuck = false;
    runModal(modal, 2000, &stuck);
    QVERIFY(!stuck);
    QVERIFY(!modal.isVisible());
    QCOMPARE(modal.result(), int(QDialog::Accepted));
    QCOMPARE(clvglob().CurrentPlayer, 2);
}

void tst_fini::waitsTwoSecondsWithoutSpinning()
{
    fini::setWaitIntervalForTests(2000);
    setPlayers({QStringLiteral("Anne"), QStringLiteral("Bruno")}, 1);
    fini f;
    QCOMPARE(f.Timer1->interval(), 2000);
    QVERIFY(!f.Timer1->isActive());

    bool stuck = false;
    const std::clock_t cpuBefore = std::clock();
    const qint64 wallMs = runModal(f, 6000, &stuck);
    const double cpuMs = double(std::clock() - cpuBefore) * 1000.0 / CLOCKS_PER_SEC;

    QVERIFY(!stuck);
    QVERIFY2(wallMs >= 1900 && wallMs <= 3000, qPrintable(QString::number(wallMs)));
    QVERIFY2(cpuMs < wallMs / 4.0, qPrintable(QStringLiteral("%1 ms of processor time in %2 ms")
                                                   .arg(cpuMs)
                                                   .arg(wallMs)));
    QVERIFY(!f.Timer1->isActive());
    QCOMPARE(clvglob().CurrentPlayer, 2);
}

void tst_fini::titleBarCloseEndsWaitAtOnce()
{
    fini::setWaitIntervalForTests(10000);
    setPlayers({QStringLiteral("Anne"), QStringLiteral("Bruno"), QStringLiteral("Chloé")}, 3);
    fini f;
    QTimer::singleShot(100, &f, [&f] { f.close(); });

    bool stuck = false;
    const qint64 wallMs = runModal(f, 5000, &stuck);

    QVERIFY(!stuck);
    QVERIFY2(wallMs < 1000, qPrintable(QString::number(wallMs)));
    QVERIFY(!f.isVisible());
    QVERIFY(!f.Timer1->isActive());
    QCOMPARE(clvglob().CurrentPlayer, 1);
}

QTEST_MAIN(tst_fini)
#include "tst_fini.moc"
