#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// The main window's controls whose geometry the layout keeps, in twips (positions of
// controls inside a frame are relative to that frame) and font sizes in points.
enum class MainControl {
    Frame1, Frame2, Frame3,
    af_min_abs, af_moy_abs, af_min_perso, af_moy_perso,
    af_nb, resultat, Af_mini, Af_Moyenne,
    jauge, prenom, Lettre0, Lettre1, Espace, PicClv,
};
inline constexpr int kMainControlCount = 17;

struct ControlGeometry
{
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
    float FontSize = 0; // 0 for controls without a font of their own (gauge, picture)
};

using MainGeometry = std::array<ControlGeometry, kMainControlCount>;

inline ControlGeometry &at(MainGeometry &g, MainControl c) { return g[std::size_t(c)]; }
inline const ControlGeometry &at(const MainGeometry &g, MainControl c) { return g[std::size_t(c)]; }

// The window as designed.
inline constexpr float kMainClientWidth = 9600;
inline constexpr float kMainClientHeight = 6630;

MainGeometry mainDesignGeometry();
