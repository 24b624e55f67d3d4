#pragma once

#include "ui/MainDesign.h"

#include <QtGlobal>

// What the main window's re-layout carries from one size change to the next: the outer
// size (twips) of the window at the last layout and the ratios that layout applied.
// The height is kept in 32 bits so that a window taller than 32767 twips still scales.
struct LayoutReference
{
    float designWidth = 0;
    qint32 designHeight = 0;
    float widthRatio = 1;
    double heightRatio = 1;
};

// An outer height rounded to a whole twip, ties to even.
qint32 roundTwipsHalfEven(double twips);

// The reference as the window sets it when it loads: its outer size, the height rounded.
LayoutReference layoutReferenceAt(float outerWidth, float outerHeight);

// The re-layout's arithmetic on the stored geometry: returns false and changes nothing when
// the window is minimized; otherwise computes the ratios from the outer size (twips),
// moves the reference to the new size and applies the 17 rows in order. Horizontal
// values and font sizes follow the width ratio, vertical values the height ratio.
bool scaleMainLayout(MainGeometry &g, LayoutReference &ref, float outerWidth, float outerHeight,
                     bool minimized);
