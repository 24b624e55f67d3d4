#pragma once

#include "game/keyboard/Keyboard.h"

#include <QString>

#include <optional>

// Where keyboards come from: the system's keyboard data, read by the windows' library.
class KeyboardSource
{
public:
    virtual ~KeyboardSource() = default;
    // The keyboard of a rules name ("fr", "fr(bepo)", "ch(fr)"), its keys in the rows of
    // physicalRows(); none when the system's data cannot make it.
    virtual std::optional<Keyboard> keyboard(const QString &layout) = 0;
};
