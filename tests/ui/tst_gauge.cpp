// Guards the main window's gauge: it looks exactly like the progress bar it stands for,
// at any value and size, and it has no value for screen readers to speak at every tick.
#include "ui/Gauge.h"

#include <QAccessible>
#include <QImage>
#include <QProgressBar>
#include <QTest>

namespace {

QImage rendered(QWidget &widget, QSize size)
{
    widget.resize(size);
    return widget.grab().toImage();
}

} // namespace

class TestGauge : public QObject
{
    Q_OBJECT

private slots:
    void looksLikeAProgressBar_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QSize>("size");
        QTest::newRow("empty, as wide as the window") << 0 << QSize(1275, 17);
        QTest::newRow("a third") << 37 << QSize(1275, 17);
        QTest::newRow("nearly full") << 99 << QSize(1275, 17);
        QTest::newRow("small and high") << 50 << QSize(120, 40);
    }
    void looksLikeAProgressBar()
    {
        QFETCH(int, value);
        QFETCH(QSize, size);
        QProgressBar bar;
        bar.setRange(0, 100);
        bar.setTextVisible(false);
        bar.setValue(value);
        Gauge gauge;
        gauge.setValue(value);
        QCOMPARE(rendered(gauge, size), rendered(bar, size));
        QCOMPARE(gauge.sizeHint(), bar.sizeHint());
        QCOMPARE(gauge.minimumSizeHint(), bar.minimumSizeHint());
    }

    // For screen readers the gauge is an animation with a name and no value: a reader's
    // bridge forwards value changes only from objects that have a value, so no percentage
    // is ever spoken, whatever the gauge does. A progress bar in its place has one.
    void isAnAnimationWithoutValue()
    {
        QWidget window;
        auto *gauge = new Gauge(&window);
        gauge->setAccessibleName(QStringLiteral("Jauge"));
        auto *bar = new QProgressBar(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        gauge->setValue(10);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(gauge);
        QCOMPARE(iface->role(), QAccessible::Animation);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Jauge"));
        QVERIFY(!iface->valueInterface());
        QVERIFY(QAccessible::queryAccessibleInterface(bar)->valueInterface());
    }
};

QTEST_MAIN(TestGauge)
#include "tst_gauge.moc"
