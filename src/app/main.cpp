#include "app/Application.h"
#include "app/CommandLine.h"

int main(int argc, char *argv[])
{
    // --help, --version and mistakes are answered before any window, and the chosen
    // folder is entered before any file is opened.
    std::optional<ServerAddress> server;
    if (const auto exitCode = handleCommandLine(argc, argv, &server))
        return *exitCode;
    return runClavimo(argc, argv, server);
}
