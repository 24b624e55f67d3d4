#pragma once

// Ends the program at once: no further handler runs. Files must be closed before.
class ProgramEnd
{
public:
    virtual ~ProgramEnd() = default;
    virtual void endNow() = 0;
};
