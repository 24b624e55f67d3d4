// Guards the main window's proportional re-layout: what each size change scales, copies
// and leaves alone, and that the reference survives minimizing and very tall windows.
#include "ui/MainLayout.h"

#include <QtTest>

#include <cmath>

static constexpr float kW0 = 9720, kH0 = 7440; // outer size of the window as designed

// The first control whose values are not all within `relative` of the wanted ones, or -1.
static int firstApart(const MainGeometry &actual, const MainGeometry &wanted, double relative)
{
    for (int c = 0; c < kMainControlCount; ++c)
        for (float ControlGeometry::*v : {&ControlGeometry::left, &ControlGeometry::top, &ControlGeometry::width, &ControlGeometry::height, &ControlGeometry::fontSize})
            if (std::abs(actual[c].*v - wanted[c].*v) > relative * std::max(1.0f, std::abs(wanted[c].*v)))
                return c;
    return -1;
}

class TestMainLayout : public QObject
{
    Q_OBJECT

private slots:
    // From the reference (refW, refH) to (w, h): left and width by w / refW, top and height
    // by h / refH, fonts by the width's ratio; the logo keeps its size.
    void scalesFromTheReference()
    {
        for (const auto &[refW, refH, w, h] : {std::array{9690.f, 7365.f, 9690.f, 7365.f}, {kW0, kH0, 19320, 15630}, {kW0, kH0, kW0, 2 * kH0}, {kW0, kH0, 9731.25f, 7452.5f}}) {
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
            QCOMPARE(firstApart(g, wanted, 1e-6), -1);
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
        for (const auto &[bW, bH, bMinimized, cW, cH] : {std::array{19320.f, 15630.f, 0.f, kW0, kH0}, {4860, 3720, 0, 14580, 11160}, {kW0, 40000, 0, kW0, kH0},
                                                          {kW0, 40000, 0, kW0, 70000}, {2400, 450, 1, kW0, kH0}, {kW0, 0, 0, kW0, kH0}}) {
            MainGeometry chained = mainDesignGeometry(), direct = mainDesignGeometry();
            LayoutReference chainedRef = layoutReferenceAt(kW0, kH0), directRef = chainedRef;
            const bool ignored = bMinimized > 0 || bH == 0;
            QCOMPARE(scaleMainLayout(chained, chainedRef, bW, bH, bMinimized > 0), !ignored);
            QVERIFY(!ignored || firstApart(chained, mainDesignGeometry(), 0) == -1);
            QVERIFY(scaleMainLayout(chained, chainedRef, cW, cH, false) && scaleMainLayout(direct, directRef, cW, cH, false));
            QCOMPARE(firstApart(chained, direct, 1e-5), -1);
            QVERIFY(chainedRef.designWidth == directRef.designWidth && chainedRef.designHeight == directRef.designHeight);
        }
    }
};

QTEST_MAIN(TestMainLayout)
#include "tst_main_layout.moc"
