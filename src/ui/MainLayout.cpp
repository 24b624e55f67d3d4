#include "ui/MainLayout.h"

#include <cmath>
#include <limits>

qint32 roundTwipsHalfEven(double twips)
{
    if (std::isnan(twips))
        return 0;
    constexpr double kLow = std::numeric_limits<qint32>::min();
    constexpr double kHigh = std::numeric_limits<qint32>::max();
    if (twips <= kLow)
        return std::numeric_limits<qint32>::min();
    if (twips >= kHigh)
        return std::numeric_limits<qint32>::max();
    // Explicit, so that the result does not depend on the floating-point rounding mode.
    double whole = std::floor(twips);
    const double fraction = twips - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0))
        whole += 1;
    return qint32(whole);
}

LayoutReference layoutReferenceAt(float outerWidth, float outerHeight)
{
    LayoutReference ref;
    ref.DesignWidth = outerWidth;
    ref.DesignHeight = roundTwipsHalfEven(outerHeight);
    return ref;
}

bool scaleMainLayout(MainGeometry &g, LayoutReference &ref, float outerWidth, float outerHeight,
                     bool minimized)
{
    if (minimized)
        return false;
    // A size the window cannot have would poison every later layout with zeros or
    // infinities: leave everything as it is, as for a minimized window.
    const qint32 newHeight = roundTwipsHalfEven(outerHeight);
    if (!(outerWidth > 0) || !std::isfinite(outerWidth) || !std::isfinite(outerHeight) || newHeight < 1)
        return false;

    // Without a reference (never set at load) the current size becomes the reference.
    float widthRatio = 1;
    double heightRatio = 1;
    if (ref.DesignWidth > 0 && ref.DesignHeight > 0) {
        widthRatio = outerWidth / ref.DesignWidth;
        heightRatio = double(outerHeight) / double(ref.DesignHeight);
    }
    ref.WidthRatio = widthRatio;
    ref.HeightRatio = heightRatio;
    ref.DesignWidth = outerWidth;
    ref.DesignHeight = newHeight;

    const auto byHeight = [heightRatio](float &value) { value = float(double(value) * heightRatio); };
    const auto byWidth = [widthRatio](float &value) { value = float(double(value) * double(widthRatio)); };
    const auto scaleBox = [&](ControlGeometry &c) {
        byHeight(c.Height);
        byWidth(c.Width);
        byHeight(c.Top);
        byWidth(c.Left);
    };
    const auto scaleAll = [&](MainControl control) {
        ControlGeometry &c = at(g, control);
        scaleBox(c);
        byWidth(c.FontSize);
    };

    // Rows in the order they are applied; a copy takes the value its source holds after
    // the source's own row.
    scaleAll(MainControl::Frame1);
    scaleAll(MainControl::Frame2);
    scaleAll(MainControl::Frame3);
    scaleAll(MainControl::af_min_abs);
    for (MainControl label : {MainControl::af_moy_abs, MainControl::af_min_perso, MainControl::af_moy_perso}) {
        scaleBox(at(g, label));
        at(g, label).FontSize = at(g, MainControl::af_min_abs).FontSize;
    }
    scaleAll(MainControl::af_nb);
    scaleAll(MainControl::resultat);
    scaleAll(MainControl::Af_mini);
    {
        const ControlGeometry &mini = at(g, MainControl::Af_mini);
        ControlGeometry &average = at(g, MainControl::Af_Moyenne);
        average.Height = mini.Height;
        average.Width = mini.Width;
        byHeight(average.Top);
        byWidth(average.Left);
        average.FontSize = mini.FontSize;
    }
    scaleBox(at(g, MainControl::jauge));
    scaleAll(MainControl::prenom);
    scaleAll(MainControl::Lettre0);
    scaleAll(MainControl::Lettre1);
    scaleAll(MainControl::Espace);
    // The picture keeps its natural size and only moves.
    byHeight(at(g, MainControl::PicClv).Top);
    byWidth(at(g, MainControl::PicClv).Left);
    return true;
}
