// Guards the main window's proportional re-layout: what each size change scales, copies
// and leaves alone, and that the reference survives minimizing and very tall windows.
#include "ui/MainLayout.h"

#include <QtTest>

#include <cmath>

static constexpr float kW0 = 9720, kH0 = 7440; // outer size of the window as designed

// Every value of every control within `relative` of the wanted one.
static void compareGeometry(const MainGeometry &actual, const MainGeometry &wanted, double relative)
{
    for (int c = 0; c < kMainControlCount; ++c)
        for (float ControlGeometry::*v : {&ControlGeometry::left, &ControlGeometry::top, &ControlGeometry::width,
                                          &ControlGeometry::height, &ControlGeometry::fontSize}) {
            const double got = actual[c].*v, want = wanted[c].*v;
            QVERIFY2(std::abs(got - want) <= relative * std::max(1.0, std::abs(want)),
                     qPrintable(QString("control %1: %2 against %3").arg(c).arg(got).arg(want)));
        }
}

class TestMainLayout : public QObject
{
    Q_OBJECT

private slots:
    // From the reference (refW, refH) to (w, h): left and width by w / refW, top and height
    // by h / refH, fonts by the width's ratio; the logo keeps its size.
    void scalesFromTheReference()
    {
        const float rows[][4] = {{9690, 7365, 9690, 7365}, {kW0, kH0, 19320, 15630}, {kW0, kH0, kW0, 2 * kH0},
                                 {kW0, kH0, 9731.25f, 7452.5f}};
        for (const auto &[refW, refH, w, h] : rows) {
            LayoutReference ref = layoutReferenceAt(refW, refH);
            MainGeometry g = mainDesignGeometry(), wanted = mainDesignGeometry();
            QVERIFY(scaleMainLayout(g, ref, w, h, false));
            QCOMPARE(ref.designHeight, qint32(std::nearbyint(h)));
            const double rw = double(w) / refW, rh = double(h) / refH;
            for (int c = 0; c < kMainControlCount; ++c) {
                const bool logo = c == int(MainControl::Logo);
                ControlGeometry &x = wanted[c];
                x = {float(x.left * rw), float(x.top * rh), float(x.width * (logo ? 1 : rw)), float(x.height * (logo ? 1 : rh)), float(x.fontSize * rw)};
            }
            compareGeometry(g, wanted, 1e-6);
        }
    }

    // The copies start out different from their sources and take the source's values after
    // the source itself was scaled; the game's average keeps its own place.
    void copiesFollowTheirSource()
    {
        MainGeometry g = mainDesignGeometry();
        const auto copies = {MainControl::AbsoluteAverage, MainControl::PersonalMini, MainControl::PersonalAverage};
        for (MainControl c : copies)
            at(g, c).fontSize = 14;
        at(g, MainControl::GameAverage) = {100, 5000, 1000, 500, 20};
        LayoutReference ref = layoutReferenceAt(kW0, kH0);
        QVERIFY(scaleMainLayout(g, ref, 19320, 15630, false));
        for (MainControl c : copies)
            QCOMPARE(at(g, c).fontSize, at(g, MainControl::AbsoluteMini).fontSize);
        const ControlGeometry &mini = at(g, MainControl::GameMini), &average = at(g, MainControl::GameAverage);
        QVERIFY(average.height == mini.height && average.width == mini.width && average.fontSize == mini.fontSize);
        QVERIFY(average.left == float(100 * ref.widthRatio) && average.top == float(5000 * ref.heightRatio));
    }

    // A -> B -> C lays out as A -> C; a minimized or zero-high B changes nothing. Rows:
    // B's width, height and minimized, then C's width and height.
    void chainedEqualsDirect()
    {
        const float rows[][5] = {{19320, 15630, 0, kW0, kH0}, {4860, 3720, 0, 14580, 11160}, {kW0, 40000, 0, kW0, kH0},
                                 {kW0, 40000, 0, kW0, 70000}, {2400, 450, 1, kW0, kH0}, {kW0, 0, 0, kW0, kH0}};
        for (const auto &[bW, bH, bMinimized, cW, cH] : rows) {
            MainGeometry chained = mainDesignGeometry(), direct = mainDesignGeometry();
            LayoutReference chainedRef = layoutReferenceAt(kW0, kH0), directRef = chainedRef;
            const bool ignored = bMinimized > 0 || bH == 0;
            QCOMPARE(scaleMainLayout(chained, chainedRef, bW, bH, bMinimized > 0), !ignored);
            if (ignored)
                compareGeometry(chained, mainDesignGeometry(), 0);
            QVERIFY(scaleMainLayout(chained, chainedRef, cW, cH, false));
            QVERIFY(scaleMainLayout(direct, directRef, cW, cH, false));
            compareGeometry(chained, direct, 1e-5);
            QVERIFY(chainedRef.designWidth == directRef.designWidth && chainedRef.designHeight == directRef.designHeight);
        }
    }
};

QTEST_MAIN(TestMainLayout)
#include "tst_main_layout.moc"
