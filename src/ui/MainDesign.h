#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// The main window's controls whose geometry the layout keeps, in twips (positions of
// controls inside a frame are relative to that frame) and font sizes in points.
enum class MainControl {
    AbsoluteFrame, PersonalFrame, GameFrame,
    AbsoluteMini, AbsoluteAverage, PersonalMini, PersonalAverage,
    ItemNumber, ItemTime, GameMini, GameAverage,
    Gauge, PlayerName, Item, Typed, Prompt, Logo,
};
inline constexpr int kMainControlCount = 17;

struct ControlGeometry
{
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    float fontSize = 0; // 0 for controls without a font of their own (gauge, picture)
};

using MainGeometry = std::array<ControlGeometry, kMainControlCount>;

inline ControlGeometry &at(MainGeometry &g, MainControl c) { return g[std::size_t(c)]; }
inline const ControlGeometry &at(const MainGeometry &g, MainControl c) { return g[std::size_t(c)]; }

// The window as designed.
inline constexpr float kMainClientWidth = 9600;
inline constexpr float kMainClientHeight = 6630;

MainGeometry mainDesignGeometry();
