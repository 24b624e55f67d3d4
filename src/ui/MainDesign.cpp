#include "ui/MainDesign.h"

MainGeometry mainDesignGeometry()
{
    MainGeometry g;
    auto set = [&g](MainControl c, float left, float top, float width, float height, float font) {
        at(g, c) = ControlGeometry{left, top, width, height, font};
    };
    // The three frames and Espace take the window's font, MS Sans Serif 8.25 pt bold.
    set(MainControl::jauge, 0, 6240, 9615, 255, 0);
    set(MainControl::PicClv, 360, 2640, 510, 510, 0);
    set(MainControl::Frame3, 6120, 0, 3255, 6015, 8.25f);
    set(MainControl::prenom, 360, 600, 2415, 615, 18);
    set(MainControl::Af_mini, 120, 4440, 2940, 390, 9.75f);
    set(MainControl::Af_Moyenne, 120, 5040, 2940, 390, 9.75f);
    set(MainControl::resultat, 600, 1920, 2085, 900, 24.75f);
    set(MainControl::af_nb, 960, 3120, 1290, 840, 24);
    set(MainControl::Frame1, 120, 360, 3255, 1455, 8.25f);
    set(MainControl::af_min_abs, 120, 360, 2940, 390, 9.75f);
    set(MainControl::af_moy_abs, 120, 840, 2940, 390, 9.75f);
    set(MainControl::Frame2, 120, 3960, 3255, 1455, 8.25f);
    set(MainControl::af_min_perso, 120, 360, 2940, 390, 9.75f);
    set(MainControl::af_moy_perso, 120, 840, 2940, 390, 9.75f);
    set(MainControl::Lettre0, 3600, 240, 2400, 2160, 26.25f);
    set(MainControl::Lettre1, 3600, 3480, 2400, 2400, 26.25f);
    set(MainControl::Espace, 3480, 3000, 2385, 195, 8.25f);
    return g;
}
