#pragma once

// Ends the program: no further handler of the game runs. Files must be closed before.
class ProgramEnd
{
public:
    virtual ~ProgramEnd() = default;
    // At once.
    virtual void endNow() = 0;
    // The windows go at once, the program ends after waitMs milliseconds, so that a sound
    // still playing is heard to its end. The caller returns meanwhile.
    virtual void endAfter(int waitMs) = 0;
};
