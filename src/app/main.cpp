#include "app/Application.h"
#include "app/CommandLine.h"

int main(int argc, char *argv[])
{
    // --help, --version and mistakes are answered before any window, and the chosen
    // folder is entered before any file is opened.
    if (const auto exitCode = handleCommandLine(argc, argv))
        return *exitCode;
    return runClavimo(argc, argv);
}
