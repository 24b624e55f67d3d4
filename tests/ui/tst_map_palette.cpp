// Guards the keyboard map's colours: darker as the rate grows, neighbouring grades told
// apart by a player with ordinary sight, a deuteranope and a protanope, and readable writing.
#include "ui/KeyboardMapView.h"

#include <QColor>
#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// What a dichromat sees, on linear RGB: Machado, Oliveira and Fernandes (2009), severity 1.0.
const Matrix kOrdinary{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
const Matrix kDeuteranope{{{0.367322, 0.860646, -0.227968},
                           {0.280085, 0.672501, 0.047413},
                           {-0.011820, 0.042940, 0.968881}}};
const Matrix kProtanope{{{0.152286, 1.052583, -0.204868},
                         {0.114503, 0.786281, 0.099216},
                         {-0.003882, -0.048116, 1.051998}}};

struct Lab
{
    double l, a, b;
};

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// The colour as seen through the matrix, in CIE L*a*b* (D65 white).
Lab seen(const QColor &colour, const Matrix &m)
{
    const std::array<double, 3> rgb{linear(colour.redF()), linear(colour.greenF()), linear(colour.blueF())};
    std::array<double, 3> s{};
    for (int i = 0; i < 3; ++i)
        s[i] = std::clamp(m[i][0] * rgb[0] + m[i][1] * rgb[1] + m[i][2] * rgb[2], 0.0, 1.0);
    const double x = (0.4124 * s[0] + 0.3576 * s[1] + 0.1805 * s[2]) / 0.95047;
    const double y = 0.2126 * s[0] + 0.7152 * s[1] + 0.0722 * s[2];
    const double z = (0.0193 * s[0] + 0.1192 * s[1] + 0.9505 * s[2]) / 1.08883;
    auto f = [](double t) {
        constexpr double d = 6.0 / 29.0;
        return t > d * d * d ? std::cbrt(t) : t / (3 * d * d) + 4.0 / 29.0;
    };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double deltaE(const Lab &p, const Lab &q)
{
    return std::hypot(p.l - q.l, p.a - q.a, p.b - q.b);
}

} // namespace

class TestMapPalette : public QObject
{
    Q_OBJECT

private slots:
    // Darker at every step up to the darkest rate, the same above it; a key never due is
    // lighter still; the writing on a key stands out from its fill.
    void darkensWithTheRate()
    {
        double previous = seen(KeyboardMapView::colourFor(-1), kOrdinary).l;
        for (int step = 0; step <= 100; ++step) {
            const QColor fill = KeyboardMapView::colourFor(KeyboardMapView::kDarkestRate * step / 100.0);
            const double l = seen(fill, kOrdinary).l;
            QVERIFY2(l < previous, qPrintable(QStringLiteral("step %1: L* %2 after %3").arg(step).arg(l).arg(previous)));
            if (step % 10 == 0) // the legend's grades and between them
                QVERIFY(std::abs(l - seen(KeyboardMapView::textColourOn(fill), kOrdinary).l) > 45);
            previous = l;
        }
        QCOMPARE(KeyboardMapView::colourFor(0.5), KeyboardMapView::colourFor(KeyboardMapView::kDarkestRate));
        QVERIFY(seen(KeyboardMapView::colourFor(0), kOrdinary).l - previous > 60);
    }

    // The grades of the legend, from a key never due (a negative rate) to the darkest one.
    void neighbouringGradesStayApart()
    {
        const double d = KeyboardMapView::kDarkestRate;
        const double grades[] = {-1, 0, d / 4, d / 2, 3 * d / 4, d};
        const Matrix *visions[] = {&kOrdinary, &kDeuteranope, &kProtanope};
        for (int v = 0; v < 3; ++v)
            for (int i = 0; i + 1 < int(std::size(grades)); ++i) {
                const Lab from = seen(KeyboardMapView::colourFor(grades[i]), *visions[v]);
                const Lab to = seen(KeyboardMapView::colourFor(grades[i + 1]), *visions[v]);
                QVERIFY2(deltaE(from, to) > 10 && to.l < from.l,
                         qPrintable(QStringLiteral("vision %1, grade %2: ΔE %3").arg(v).arg(i).arg(deltaE(from, to))));
            }
    }
};

QTEST_MAIN(TestMapPalette)
#include "tst_map_palette.moc"
