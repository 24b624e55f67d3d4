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
    ref.designWidth = outerWidth;
    ref.designHeight = roundTwipsHalfEven(outerHeight);
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
    if (ref.designWidth > 0 && ref.designHeight > 0) {
        widthRatio = outerWidth / ref.designWidth;
        heightRatio = double(outerHeight) / double(ref.designHeight);
    }
    ref.widthRatio = widthRatio;
    ref.heightRatio = heightRatio;
    ref.designWidth = outerWidth;
    ref.designHeight = newHeight;

    const auto byHeight = [heightRatio](float &value) { value = float(double(value) * heightRatio); };
    const auto byWidth = [widthRatio](float &value) { value = float(double(value) * double(widthRatio)); };
    const auto scaleBox = [&](ControlGeometry &c) {
        byHeight(c.height);
        byWidth(c.width);
        byHeight(c.top);
        byWidth(c.left);
    };
    const auto scaleAll = [&](MainControl control) {
        ControlGeometry &c = at(g, control);
        scaleBox(c);
        byWidth(c.fontSize);
    };

    // Rows in the order they are applied; a copy takes the value its source holds after
    // the source's own row.
    scaleAll(MainControl::AbsoluteFrame);
    scaleAll(MainControl::PersonalFrame);
    scaleAll(MainControl::GameFrame);
    scaleAll(MainControl::AbsoluteMini);
    for (MainControl label : {MainControl::AbsoluteAverage, MainControl::PersonalMini, MainControl::PersonalAverage}) {
        scaleBox(at(g, label));
        at(g, label).fontSize = at(g, MainControl::AbsoluteMini).fontSize;
    }
    scaleAll(MainControl::ItemNumber);
    scaleAll(MainControl::ItemTime);
    scaleAll(MainControl::GameMini);
    {
        const ControlGeometry &mini = at(g, MainControl::GameMini);
        ControlGeometry &average = at(g, MainControl::GameAverage);
        average.height = mini.height;
        average.width = mini.width;
        byHeight(average.top);
        byWidth(average.left);
        average.fontSize = mini.fontSize;
    }
    scaleBox(at(g, MainControl::Gauge));
    scaleAll(MainControl::PlayerName);
    scaleAll(MainControl::Item);
    scaleAll(MainControl::Typed);
    scaleAll(MainControl::Prompt);
    // The picture keeps its natural size and only moves.
    byHeight(at(g, MainControl::Logo).top);
    byWidth(at(g, MainControl::Logo).left);
    return true;
}
