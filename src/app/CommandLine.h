#pragma once

#include "history/ServerAddress.h"
#include "history/ServerSetting.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for. The program keeps its record files and settings in the
// working folder; the options choose that folder. Reading the command line needs no
// application object and no display, so that --help, --version and mistakes are answered
// on the terminal before any window opens.
struct CommandLine
{
    enum class Action { Run, Help, Version, Error, ImportWords, PrepareServer, ErasePlayer };

    Action action = Action::Run;
    // Run, ImportWords and ErasePlayer: the folder to play in, absolute; empty to stay in the working folder.
    QString folder;
    // Run and ErasePlayer: the classroom's history server, from the option or the settings
    // files; PrepareServer: the server to prepare, as its owner.
    std::optional<ServerAddress> server;
    // PrepareServer: the role the room's computers connect as.
    QString roomRole;
    // ErasePlayer: the player whose games go, and whether the question is skipped.
    QString player;
    bool assumeYes = false;
    // ImportWords: the teacher's text file of words, as given.
    QString wordsFile;
    // Help and Version: the text for standard output; Error: the message for standard error.
    QString text;
    // 0, or 2 for a mistake on the command line or a folder that cannot be used.
    int exitCode = 0;
};

// Reads the arguments, the program's name first, as main() receives them. A folder given
// with --dossier must exist and take a new file; the user's data folder of
// --dossier-utilisateur is created when it is missing. The history server is read from
// --historique-serveur, or else from the settings files; an address that cannot be read is
// a mistake like a bad option.
CommandLine parseCommandLine(const QStringList &arguments,
                             const QStringList &settingsFiles = ServerSetting::settingsFiles());

// The arguments of main() as text.
QStringList commandLineArguments(int argc, char *argv[]);

// Reads the command line, prints what it asks for and enters the chosen folder. Returns the
// exit code when the program must end now, nothing when the game is to start, with the
// history server in `server` when one is configured.
std::optional<int> handleCommandLine(int argc, char *argv[], std::optional<ServerAddress> *server);
