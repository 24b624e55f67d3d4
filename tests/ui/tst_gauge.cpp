// Guards the main window's gauge: it looks like the progress bar it stands for, and gives
// screen readers no value to speak at every tick.
#include "ui/Gauge.h"

#include <QAccessible>
#include <QProgressBar>
#include <QTest>

class TestGauge : public QObject
{
    Q_OBJECT

private slots:
    void looksLikeAProgressBar()
    {
        for (const auto &[value, size] : {std::pair{0, QSize(1275, 17)}, {37, QSize(1275, 17)}, {50, QSize(120, 40)}}) {
            QProgressBar bar;
            bar.setTextVisible(false);
            bar.setValue(value);
            bar.resize(size);
            Gauge gauge;
            gauge.setValue(value);
            gauge.resize(size);
            QVERIFY2(gauge.grab().toImage() == bar.grab().toImage(), qPrintable(QString::number(value)));
            QCOMPARE(gauge.sizeHint(), bar.sizeHint());
        }
    }

    // An animation with a name and no value: a reader's bridge forwards value changes only
    // from objects that have one.
    void isAnAnimationWithoutValue()
    {
        QWidget window;
        auto *gauge = new Gauge(&window);
        gauge->setAccessibleName(QStringLiteral("Jauge"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(gauge);
        QCOMPARE(iface->role(), QAccessible::Animation);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Jauge"));
        QVERIFY(!iface->valueInterface());
    }
};

QTEST_MAIN(TestGauge)
#include "tst_gauge.moc"
