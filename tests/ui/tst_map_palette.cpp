// Guards the keyboard map's colours: darker as the rate grows, neighbouring grades told
// apart by a player with ordinary sight, a deuteranope and a protanope, and readable writing.
#include "ui/KeyboardMapView.h"

#include <QColor>
#include <QTest>

#include <array>
#include <cmath>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;
// What a dichromat sees, on linear RGB: Machado, Oliveira and Fernandes (2009), severity 1.0.
const Matrix kVisions[] = {{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
                           {{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}},
                           {{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}}};

// The colour of a rate as seen through the matrix, in CIE L*a*b* (D65 white).
std::array<double, 3> seen(const QColor &colour, const Matrix &m = kVisions[0])
{
    auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const double rgb[] = {linear(colour.redF()), linear(colour.greenF()), linear(colour.blueF())};
    double s[3];
    for (int i = 0; i < 3; ++i)
        s[i] = std::clamp(m[i][0] * rgb[0] + m[i][1] * rgb[1] + m[i][2] * rgb[2], 0.0, 1.0);
    auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : t / 0.128418 + 4.0 / 29.0; };
    const double x = f((0.4124 * s[0] + 0.3576 * s[1] + 0.1805 * s[2]) / 0.95047), y = f(0.2126 * s[0] + 0.7152 * s[1] + 0.0722 * s[2]),
                 z = f((0.0193 * s[0] + 0.1192 * s[1] + 0.9505 * s[2]) / 1.08883);
    return {116 * y - 16, 500 * (x - y), 200 * (y - z)};
}

} // namespace

class TestMapPalette : public QObject
{
    Q_OBJECT

private slots:
    // Darker at every step up to the darkest rate, the same above it; a key never due is
    // lighter still; the writing on a key stands out from its fill. The grades of the
    // legend, from a key never due (a negative rate) to the darkest one, stay apart in
    // each vision.
    void darkensAndStaysApart()
    {
        double previous = seen(KeyboardMapView::colourFor(-1))[0];
        for (int step = 0; step <= 100; ++step) {
            const QColor fill = KeyboardMapView::colourFor(KeyboardMapView::kDarkestRate * step / 100.0);
            QVERIFY2(seen(fill)[0] < previous, qPrintable(QString::number(step)));
            previous = seen(fill)[0];
            QVERIFY(step % 10 || std::abs(previous - seen(KeyboardMapView::textColourOn(fill))[0]) > 45);
        }
        QCOMPARE(KeyboardMapView::colourFor(0.5), KeyboardMapView::colourFor(KeyboardMapView::kDarkestRate));
        QVERIFY(seen(KeyboardMapView::colourFor(0))[0] - previous > 60);
        const double d = KeyboardMapView::kDarkestRate, grades[] = {-1, 0, d / 4, d / 2, 3 * d / 4, d};
        for (const Matrix &vision : kVisions)
            for (int i = 0; i + 1 < 6; ++i) {
                const auto from = seen(KeyboardMapView::colourFor(grades[i]), vision), to = seen(KeyboardMapView::colourFor(grades[i + 1]), vision);
                const double deltaE = std::hypot(from[0] - to[0], from[1] - to[1], from[2] - to[2]);
                QVERIFY2(deltaE > 10 && to[0] < from[0], qPrintable(QStringLiteral("grade %1: ΔE %2").arg(i).arg(deltaE)));
            }
    }
};

QTEST_MAIN(TestMapPalette)
#include "tst_map_palette.moc"
