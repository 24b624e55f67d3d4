#pragma once

#include <QString>

class RandomSource;

// Where a game's items come from when they are not the ordinary letters and words: the
// targeted practice and the keyboard course each draw their own.
class ItemDraw
{
public:
    virtual ~ItemDraw() = default;
    // A new game begins.
    virtual void restart() = 0;
    // The next item, in upper case as the game compares it.
    virtual QString next(RandomSource &random) = 0;
};
