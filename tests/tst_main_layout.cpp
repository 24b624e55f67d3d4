// Guards the main window's proportional re-layout: what each size change scales, copies
// and leaves alone, and that the reference survives minimizing and very tall windows.

#include "ui/MainLayout.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {

// Outer size of the window as designed: the client area plus frame, title and menu bars.
constexpr float kW0 = 9720;
constexpr float kH0 = 7440;

const MainControl kAll[] = {
    MainControl::Frame1, MainControl::Frame2, MainControl::Frame3,
    MainControl::af_min_abs, MainControl::af_moy_abs, MainControl::af_min_perso, MainControl::af_moy_perso,
    MainControl::af_nb, MainControl::resultat, MainControl::Af_mini, MainControl::Af_Moyenne,
    MainControl::jauge, MainControl::prenom, MainControl::Lettre0, MainControl::Lettre1,
    MainControl::Espace, MainControl::PicClv,
};

QByteArray nameOf(MainControl c)
{
    static const char *const names[kMainControlCount] = {
        "Frame1", "Frame2", "Frame3", "af_min_abs", "af_moy_abs", "af_min_perso", "af_moy_perso",
        "af_nb", "resultat", "Af_mini", "Af_Moyenne", "jauge", "prenom", "Lettre0", "Lettre1",
        "Espace", "PicClv",
    };
    return names[int(c)];
}

bool sameGeometry(const MainGeometry &a, const MainGeometry &b, double relative, QByteArray *where)
{
    const auto close = [relative](float x, float y) {
        return relative == 0 ? x == y : std::abs(double(x) - double(y)) <= relative * std::max(1.0, std::abs(double(y)));
    };
    for (MainControl c : kAll) {
        const ControlGeometry &p = at(a, c);
        const ControlGeometry &q = at(b, c);
        if (!close(p.Left, q.Left) || !close(p.Top, q.Top) || !close(p.Width, q.Width)
            || !close(p.Height, q.Height) || !close(p.FontSize, q.FontSize)) {
            *where = "control " + nameOf(c) + ": " + QByteArray::number(p.Left) + ' ' + QByteArray::number(p.Top)
                + ' ' + QByteArray::number(p.Width) + ' ' + QByteArray::number(p.Height) + ' '
                + QByteArray::number(p.FontSize) + " against " + QByteArray::number(q.Left) + ' '
                + QByteArray::number(q.Top) + ' ' + QByteArray::number(q.Width) + ' '
                + QByteArray::number(q.Height) + ' ' + QByteArray::number(q.FontSize);
            return false;
        }
    }
    return true;
}

#define COMPARE_GEOMETRY(actual, expected, relative)                                   \
    do {                                                                                \
        QByteArray where;                                                               \
        QVERIFY2(sameGeometry(actual, expected, relative, &where), where.constData());  \
    } while (false)

bool sameReference(const LayoutReference &a, const LayoutReference &b)
{
    return a.DesignWidth == b.DesignWidth && a.DesignHeight == b.DesignHeight
        && a.WidthRatio == b.WidthRatio && a.HeightRatio == b.HeightRatio;
}

} // namespace

class TestMainLayout : public QObject
{
    Q_OBJECT

private slots:
    void firstDisplayKeepsDesign_data();
    void firstDisplayKeepsDesign();
    void minimizeChangesNothing_data();
    void minimizeChangesNothing();
    void scaling_data();
    void scaling();
    void twiceAsTall();
    void copiesFollowTheirSource_data();
    void copiesFollowTheirSource();
    void resizeThenRestore_data();
    void resizeThenRestore();
    void chainedEqualsDirect_data();
    void chainedEqualsDirect();
    void tallerThan16Bits_data();
    void tallerThan16Bits();
    void heightRoundsHalfToEven_data();
    void heightRoundsHalfToEven();
    void impossibleSizesChangeNothing_data();
    void impossibleSizesChangeNothing();
};

void TestMainLayout::firstDisplayKeepsDesign_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::newRow("designed size") << kW0 << kH0;
    QTest::newRow("other frame size") << 9690.0f << 7365.0f;
    QTest::newRow("large") << 28800.0f << 40000.0f;
}

void TestMainLayout::firstDisplayKeepsDesign()
{
    QFETCH(float, width);
    QFETCH(float, height);
    MainGeometry g = mainDesignGeometry();
    LayoutReference ref = layoutReferenceAt(width, height);
    QVERIFY(scaleMainLayout(g, ref, width, height, false));
    COMPARE_GEOMETRY(g, mainDesignGeometry(), 0);
    QVERIFY(ref.WidthRatio == 1.0f);
    QVERIFY(ref.HeightRatio == 1.0);
    QVERIFY(ref.DesignWidth == width);
    QCOMPARE(ref.DesignHeight, qint32(height));
}

void TestMainLayout::minimizeChangesNothing_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<float>("minWidth");
    QTest::addColumn<float>("minHeight");
    QTest::newRow("reported at the last size") << kW0 << kH0 << kW0 << kH0;
    QTest::newRow("reported as an icon") << kW0 << kH0 << 2400.0f << 450.0f;
    QTest::newRow("reported as nothing") << kW0 << kH0 << 0.0f << 0.0f;
    QTest::newRow("minimized from maximised") << 19200.0f << 15810.0f << 2400.0f << 450.0f;
}

void TestMainLayout::minimizeChangesNothing()
{
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(float, minWidth);
    QFETCH(float, minHeight);

    MainGeometry g = mainDesignGeometry();
    LayoutReference ref = layoutReferenceAt(kW0, kH0);
    QVERIFY(scaleMainLayout(g, ref, width, height, false));
    const MainGeometry before = g;
    const LayoutReference refBefore = ref;

    QVERIFY(!scaleMainLayout(g, ref, minWidth, minHeight, true));
    COMPARE_GEOMETRY(g, before, 0);
    QVERIFY(sameReference(ref, refBefore));

    // Restoring to the size before minimizing gives ratios of 1: nothing moves.
    QVERIFY(scaleMainLayout(g, ref, width, height, false));
    COMPARE_GEOMETRY(g, before, 0);
    QVERIFY(ref.WidthRatio == 1.0f);
    QVERIFY(ref.HeightRatio == 1.0);
}

void TestMainLayout::scaling_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::newRow("maximised") << 19320.0f << 15630.0f;
    QTest::newRow("twice as wide") << 19440.0f << kH0;
    QTest::newRow("smaller") << 4860.0f << 3720.0f;
    QTest::newRow("uneven") << 12345.0f << 8765.0f;
    QTest::newRow("fraction of a twip") << 9731.25f << 7452.75f;
}

void TestMainLayout::scaling()
{
    QFETCH(float, width);
    QFETCH(float, height);

    const MainGeometry design = mainDesignGeometry();
    MainGeometry g = design;
    LayoutReference ref = layoutReferenceAt(kW0, kH0);
    QVERIFY(scaleMainLayout(g, ref, width, height, false));

    // The width ratio is a single-precision quotient, the height ratio a double one.
    QVERIFY(ref.WidthRatio == width / kW0);
    QVERIFY(ref.HeightRatio == double(height) / double(kH0));
    QVERIFY(ref.DesignWidth == width);
    QCOMPARE(ref.DesignHeight, roundTwipsHalfEven(height));

    const double w = double(width) / kW0;
    const double h = double(height) / kH0;
    const auto expect = [](float actual, double designed, double ratio, const QByteArray &what) {
        const double wanted = designed * ratio;
        QVERIFY2(std::abs(double(actual) - wanted) <= 1e-6 * std::max(1.0, std::abs(wanted)),
                 (what + ": " + QByteArray::number(actual) + " against " + QByteArray::number(wanted)).constData());
    };
    for (MainControl c : kAll) {
        const ControlGeometry &d = at(design, c);
        const ControlGeometry &s = at(g, c);
        const QByteArray name = nameOf(c);
        expect(s.Left, d.Left, w, name + " Left");
        expect(s.Top, d.Top, h, name + " Top");
        const bool fixedSize = c == MainControl::PicClv;
        expect(s.Width, d.Width, fixedSize ? 1.0 : w, name + " Width");
        expect(s.Height, d.Height, fixedSize ? 1.0 : h, name + " Height");
        expect(s.FontSize, d.FontSize, w, name + " FontSize");
        if (QTest::currentTestFailed())
            return;
    }
    QVERIFY(at(g, MainControl::jauge).FontSize == 0.0f);
    QVERIFY(at(g, MainControl::PicClv).FontSize == 0.0f);
}

void TestMainLayout::twiceAsTall()
{
    const MainGeometry design = mainDesignGeometry();
    MainGeometry g = design;
    LayoutReference ref = layoutReferenceAt(kW0, kH0);
    QVERIFY(scaleMainLayout(g, ref, kW0, 2 * kH0, false));
    for (MainControl c : kAll) {
        const ControlGeometry &d = at(design, c);
        const ControlGeometry &s = at(g, c);
        QVERIFY2(s.Top == 2 * d.Top, nameOf(c).constData());
        QVERIFY2(s.Height == (c == MainControl::PicClv ? d.Height : 2 * d.Height), nameOf(c).constData());
        QVERIFY2(s.Left == d.Left, nameOf(c).constData());
        QVERIFY2(s.Width == d.Width, nameOf(c).constData());
        QVERIFY2(s.FontSize == d.FontSize, nameOf(c).constData());
    }
    QCOMPARE(ref.DesignHeight, qint32(2 * kH0));
}

void TestMainLayout::copiesFollowTheirSource_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::newRow("same size") << kW0 << kH0;
    QTest::newRow("maximised") << 19320.0f << 15630.0f;
    QTest::newRow("taller only") << kW0 << 11160.0f;
    QTest::newRow("narrower") << 7290.0f << 7440.0f;
}

void TestMainLayout::copiesFollowTheirSource()
{
    QFETCH(float, width);
    QFETCH(float, height);

    // Start from a geometry in which the copies differ from their sources.
    MainGeometry g = mainDesignGeometry();
    at(g, MainControl::af_moy_abs).FontSize = 11;
    at(g, MainControl::af_min_perso).FontSize = 14;
    at(g, MainControl::af_moy_perso).FontSize = 7;
    at(g, MainControl::Af_mini).Height = 450;
    at(g, MainControl::Af_Moyenne).Height = 500;
    at(g, MainControl::Af_Moyenne).Width = 1000;
    at(g, MainControl::Af_Moyenne).FontSize = 20;
    const MainGeometry before = g;

    LayoutReference ref = layoutReferenceAt(kW0, kH0);
    QVERIFY(scaleMainLayout(g, ref, width, height, false));

    const float minAbsFont = at(g, MainControl::af_min_abs).FontSize;
    QVERIFY(minAbsFont == float(9.75 * double(ref.WidthRatio)));
    QVERIFY(at(g, MainControl::af_moy_abs).FontSize == minAbsFont);
    QVERIFY(at(g, MainControl::af_min_perso).FontSize == minAbsFont);
    QVERIFY(at(g, MainControl::af_moy_perso).FontSize == minAbsFont);

    // The copies take the source's values after the source itself was scaled.
    const ControlGeometry &mini = at(g, MainControl::Af_mini);
    const ControlGeometry &average = at(g, MainControl::Af_Moyenne);
    QVERIFY(mini.Height == float(450 * ref.HeightRatio));
    QVERIFY(average.Height == mini.Height);
    QVERIFY(average.Width == mini.Width);
    QVERIFY(average.FontSize == mini.FontSize);
    // Its position is its own.
    QVERIFY(average.Top == float(double(at(before, MainControl::Af_Moyenne).Top) * ref.HeightRatio));
    QVERIFY(average.Left == float(double(at(before, MainControl::Af_Moyenne).Left) * ref.WidthRatio));
    // The other properties of the copied labels are scaled, not copied.
    QVERIFY(at(g, MainControl::af_moy_perso).Top
            == float(double(at(before, MainControl::af_moy_perso).Top) * ref.HeightRatio));
}

void TestMainLayout::resizeThenRestore_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::newRow("maximised") << 19320.0f << 15630.0f;
    QTest::newRow("smaller") << 4860.0f << 3720.0f;
    QTest::newRow("uneven") << 12345.0f << 8765.0f;
    QTest::newRow("tiny") << 1200.0f << 900.0f;
}

void TestMainLayout::resizeThenRestore()
{
    QFETCH(float, width);
    QFETCH(float, height);

    MainGeometry g = mainDesignGeometry();
    LayoutReference ref = layoutReferenceAt(kW0, kH0);
    QVERIFY(scaleMainLayout(g, ref, kW0, kH0, false));
    QVERIFY(scaleMainLayout(g, ref, width, height, false));
    QVERIFY(!scaleMainLayout(g, ref, 2400, 450, true));
    QVERIFY(scaleMainLayout(g, ref, kW0, kH0, false));
    COMPARE_GEOMETRY(g, mainDesignGeometry(), 1e-5);
    QVERIFY(ref.DesignWidth == kW0);
    QCOMPARE(ref.DesignHeight, qint32(kH0));
    QVERIFY(ref.WidthRatio == kW0 / width);
}

void TestMainLayout::chainedEqualsDirect_data()
{
    QTest::addColumn<float>("bWidth");
    QTest::addColumn<float>("bHeight");
    QTest::addColumn<bool>("bMinimized");
    QTest::addColumn<float>("cWidth");
    QTest::addColumn<float>("cHeight");
    QTest::newRow("grow then grow") << 12000.0f << 9000.0f << false << 19320.0f << 15630.0f;
    QTest::newRow("shrink then grow") << 4860.0f << 3720.0f << false << 14580.0f << 11160.0f;
    QTest::newRow("wider then taller") << 19440.0f << kH0 << false << 19440.0f << 14880.0f;
    QTest::newRow("through a minimized window") << 2400.0f << 450.0f << true << 12345.0f << 8765.0f;
}

void TestMainLayout::chainedEqualsDirect()
{
    QFETCH(float, bWidth);
    QFETCH(float, bHeight);
    QFETCH(bool, bMinimized);
    QFETCH(float, cWidth);
    QFETCH(float, cHeight);

    MainGeometry chained = mainDesignGeometry();
    LayoutReference chainedRef = layoutReferenceAt(kW0, kH0);
    scaleMainLayout(chained, chainedRef, bWidth, bHeight, bMinimized);
    QVERIFY(scaleMainLayout(chained, chainedRef, cWidth, cHeight, false));

    MainGeometry direct = mainDesignGeometry();
    LayoutReference directRef = layoutReferenceAt(kW0, kH0);
    QVERIFY(scaleMainLayout(direct, directRef, cWidth, cHeight, false));

    COMPARE_GEOMETRY(chained, direct, bMinimized ? 0 : 1e-5);
    QVERIFY(chainedRef.DesignWidth == directRef.DesignWidth);
    QCOMPARE(chainedRef.DesignHeight, directRef.DesignHeight);
}

void TestMainLayout::tallerThan16Bits_data()
{
    QTest::addColumn<float>("height");
    QTest::newRow("32767") << 32767.0f;
    QTest::newRow("32768") << 32768.0f;
    QTest::newRow("40000") << 40000.0f;
    QTest::newRow("70000") << 70000.0f;
}

void TestMainLayout::tallerThan16Bits()
{
    QFETCH(float, height);

    MainGeometry g = mainDesignGeometry();
    LayoutReference ref = layoutReferenceAt(kW0, kH0);
    QVERIFY(scaleMainLayout(g, ref, kW0, height, false));
    QCOMPARE(ref.DesignHeight, qint32(height));
    const float gaugeTop = at(g, MainControl::jauge).Top;
    QVERIFY(gaugeTop == float(6240 * (double(height) / kH0)));

    // The next layout divides by the stored height: it must be the real one.
    QVERIFY(scaleMainLayout(g, ref, kW0, 2 * height, false));
    QVERIFY(ref.HeightRatio == 2.0);
    QVERIFY(at(g, MainControl::jauge).Top == 2 * gaugeTop);
    QVERIFY(scaleMainLayout(g, ref, kW0, kH0, false));
    COMPARE_GEOMETRY(g, mainDesignGeometry(), 1e-5);
    QCOMPARE(ref.DesignHeight, qint32(kH0));
}

void TestMainLayout::heightRoundsHalfToEven_data()
{
    QTest::addColumn<float>("height");
    QTest::addColumn<qint32>("rounded");
    QTest::newRow("7440.5 down to even") << 7440.5f << 7440;
    QTest::newRow("7441.5 up to even") << 7441.5f << 7442;
    QTest::newRow("7440.25") << 7440.25f << 7440;
    QTest::newRow("7440.75") << 7440.75f << 7441;
    QTest::newRow("2.5") << 2.5f << 2;
    QTest::newRow("32767.5") << 32767.5f << 32768;
}

void TestMainLayout::heightRoundsHalfToEven()
{
    QFETCH(float, height);
    QFETCH(qint32, rounded);

    QCOMPARE(layoutReferenceAt(kW0, height).DesignHeight, rounded);
    MainGeometry g = mainDesignGeometry();
    LayoutReference ref = layoutReferenceAt(kW0, kH0);
    QVERIFY(scaleMainLayout(g, ref, kW0, height, false));
    QCOMPARE(ref.DesignHeight, rounded);
    // The ratio uses the height itself, not its rounded value.
    QVERIFY(ref.HeightRatio == double(height) / kH0);
}

void TestMainLayout::impossibleSizesChangeNothing_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::newRow("zero") << 0.0f << 0.0f;
    QTest::newRow("zero height") << kW0 << 0.0f;
    QTest::newRow("height rounding to zero") << kW0 << 0.25f;
    QTest::newRow("negative width") << -15.0f << kH0;
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << kH0;
    QTest::newRow("infinite height") << kW0 << std::numeric_limits<float>::infinity();
}

void TestMainLayout::impossibleSizesChangeNothing()
{
    QFETCH(float, width);
    QFETCH(float, height);

    MainGeometry g = mainDesignGeometry();
    LayoutReference ref = layoutReferenceAt(kW0, kH0);
    const LayoutReference refBefore = ref;
    QVERIFY(!scaleMainLayout(g, ref, width, height, false));
    COMPARE_GEOMETRY(g, mainDesignGeometry(), 0);
    QVERIFY(sameReference(ref, refBefore));

    // Without a reference at all, a real size becomes the reference and nothing moves.
    LayoutReference unset;
    QVERIFY(scaleMainLayout(g, unset, kW0, kH0, false));
    COMPARE_GEOMETRY(g, mainDesignGeometry(), 0);
    QVERIFY(unset.DesignWidth == kW0);
    QCOMPARE(unset.DesignHeight, qint32(kH0));
}

QTEST_MAIN(TestMainLayout)
#include "tst_main_layout.moc"
