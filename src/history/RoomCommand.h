#pragma once

#include <QString>

// What a command run on the history from the command line ends with: its exit code and
// the French text for standard output and for standard error.
struct RoomCommandResult
{
    int exitCode = 0;
    QString output;
    QString error;
};
