// Guards the main window's proportional re-layout: what each size change scales, copies
// and leaves alone, and that the reference survives minimizing and very tall windows.
#include "ui/MainLayout.h"

#include <QtTest>

#include <cmath>

static constexpr float kW0 = 9720, kH0 = 7440; // outer size of the window as designed

// Every value of every control within `relative` of the wanted one.
static void compareGeometry(const MainGeometry &actual, const MainGeometry &wanted, double relative)
{
    for (int c = 0; c < kMainControlCount; ++c) {
        for (float ControlGeometry::*v : {&ControlGeometry::left, &ControlGeometry::top, &ControlGeometry::width,
                                          &ControlGeometry::height, &ControlGeometry::fontSize}) {
            const double got = actual[c].*v, want = wanted[c].*v;
            QVERIFY2(std::abs(got - want) <= relative * std::max(1.0, std::abs(want)),
                     qPrintable(QString("control %1: %2 against %3").arg(c).arg(got).arg(want)));
        }
    }
}

class TestMainLayout : public QObject
{
    Q_OBJECT

private slots:
    void scalesFromTheReference_data()
    {
        QTest::addColumn<float>("refW");
        QTest::addColumn<float>("refH");
        QTest::addColumn<float>("w");
        QTest::addColumn<float>("h");
        QTest::newRow("first display, frame not as designed") << 9690.f << 7365.f << 9690.f << 7365.f;
        QTest::newRow("maximised") << kW0 << kH0 << 19320.f << 15630.f;
        QTest::newRow("taller, not wider: fonts kept") << kW0 << kH0 << kW0 << 2 * kH0;
        QTest::newRow("half a twip taller") << kW0 << kH0 << 9731.25f << 7452.5f;
    }
    void scalesFromTheReference()
    {
        QFETCH(float, refW);
        QFETCH(float, refH);
        QFETCH(float, w);
        QFETCH(float, h);
        LayoutReference ref = layoutReferenceAt(refW, refH);
        MainGeometry g = mainDesignGeometry();
        QVERIFY(scaleMainLayout(g, ref, w, h, false));
        QCOMPARE(ref.designHeight, qint32(std::nearbyint(h)));

        MainGeometry wanted = mainDesignGeometry();
        const double rw = double(w) / refW, rh = double(h) / refH;
        for (int c = 0; c < kMainControlCount; ++c) {
            const bool picture = c == int(MainControl::Logo); // keeps its natural size
            wanted[c] = {float(wanted[c].left * rw), float(wanted[c].top * rh), float(wanted[c].width * (picture ? 1 : rw)),
                         float(wanted[c].height * (picture ? 1 : rh)), float(wanted[c].fontSize * rw)};
        }
        compareGeometry(g, wanted, 1e-6);
    }

    void copiesFollowTheirSource()
    {
        // The copies start out different from their sources and take the source's
        // values after the source itself was scaled.
        MainGeometry g = mainDesignGeometry();
        const auto copies = {MainControl::AbsoluteAverage, MainControl::PersonalMini, MainControl::PersonalAverage};
        for (MainControl c : copies)
            at(g, c).fontSize = 14;
        at(g, MainControl::GameAverage) = {100, 5000, 1000, 500, 20};
        LayoutReference ref = layoutReferenceAt(kW0, kH0);
        QVERIFY(scaleMainLayout(g, ref, 19320, 15630, false));

        const float font = at(g, MainControl::AbsoluteMini).fontSize;
        for (MainControl c : copies)
            QVERIFY(at(g, c).fontSize == font);
        const ControlGeometry &mini = at(g, MainControl::GameMini), &average = at(g, MainControl::GameAverage);
        QVERIFY(average.height == mini.height && average.width == mini.width && average.fontSize == mini.fontSize);
        // Its position is its own.
        QVERIFY(average.left == float(100 * ref.widthRatio) && average.top == float(5000 * ref.heightRatio));
    }

    // A -> B -> C lays out as A -> C; a minimized or impossible B changes nothing.
    void chainedEqualsDirect_data()
    {
        QTest::addColumn<float>("bW");
        QTest::addColumn<float>("bH");
        QTest::addColumn<bool>("bMinimized");
        QTest::addColumn<float>("cW");
        QTest::addColumn<float>("cH");
        QTest::newRow("maximise, restore") << 19320.f << 15630.f << false << kW0 << kH0;
        QTest::newRow("shrink, grow") << 4860.f << 3720.f << false << 14580.f << 11160.f;
        QTest::newRow("taller than 32767, restore") << kW0 << 40000.f << false << kW0 << kH0;
        QTest::newRow("taller than 32767, taller still") << kW0 << 40000.f << false << kW0 << 70000.f;
        QTest::newRow("minimized, restored") << 2400.f << 450.f << true << kW0 << kH0;
        QTest::newRow("zero height, restored") << kW0 << 0.f << false << kW0 << kH0;
    }
    void chainedEqualsDirect()
    {
        QFETCH(float, bW);
        QFETCH(float, bH);
        QFETCH(bool, bMinimized);
        QFETCH(float, cW);
        QFETCH(float, cH);
        MainGeometry chained = mainDesignGeometry(), direct = mainDesignGeometry();
        LayoutReference chainedRef = layoutReferenceAt(kW0, kH0), directRef = chainedRef;
        const bool ignored = bMinimized || bH == 0;
        QCOMPARE(scaleMainLayout(chained, chainedRef, bW, bH, bMinimized), !ignored);
        if (ignored)
            compareGeometry(chained, mainDesignGeometry(), 0);
        QVERIFY(scaleMainLayout(chained, chainedRef, cW, cH, false));
        QVERIFY(scaleMainLayout(direct, directRef, cW, cH, false));
        compareGeometry(chained, direct, 1e-5);
        QVERIFY(chainedRef.designWidth == directRef.designWidth && chainedRef.designHeight == directRef.designHeight);
    }
};

QTEST_MAIN(TestMainLayout)
#include "tst_main_layout.moc"
