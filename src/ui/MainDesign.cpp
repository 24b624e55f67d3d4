#include "ui/MainDesign.h"

MainGeometry mainDesignGeometry()
{
    MainGeometry g;
    auto set = [&g](MainControl c, float left, float top, float width, float height, float font) {
        at(g, c) = ControlGeometry{left, top, width, height, font};
    };
    // The three frames and the prompt take the window's font, MS Sans Serif 8.25 pt bold.
    set(MainControl::Gauge, 0, 6240, 9615, 255, 0);
    set(MainControl::Logo, 360, 2640, 510, 510, 0);
    set(MainControl::GameFrame, 6120, 0, 3255, 6015, 8.25f);
    set(MainControl::PlayerName, 360, 600, 2415, 615, 18);
    set(MainControl::GameMini, 120, 4440, 2940, 390, 9.75f);
    set(MainControl::GameAverage, 120, 5040, 2940, 390, 9.75f);
    set(MainControl::ItemTime, 600, 1920, 2085, 900, 24.75f);
    set(MainControl::ItemNumber, 960, 3120, 1290, 840, 24);
    set(MainControl::AbsoluteFrame, 120, 360, 3255, 1455, 8.25f);
    set(MainControl::AbsoluteMini, 120, 360, 2940, 390, 9.75f);
    set(MainControl::AbsoluteAverage, 120, 840, 2940, 390, 9.75f);
    set(MainControl::PersonalFrame, 120, 3960, 3255, 1455, 8.25f);
    set(MainControl::PersonalMini, 120, 360, 2940, 390, 9.75f);
    set(MainControl::PersonalAverage, 120, 840, 2940, 390, 9.75f);
    set(MainControl::Item, 3600, 240, 2400, 2160, 26.25f);
    set(MainControl::Typed, 3600, 3480, 2400, 2400, 26.25f);
    set(MainControl::Prompt, 3480, 3000, 2385, 195, 8.25f);
    return g;
}
