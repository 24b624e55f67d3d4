#pragma once

struct CommandLine;

// Runs --preparer-serveur or --effacer-joueur on the terminal: prints what was done or why
// not in French, asks the erasure's question on standard input unless --oui was given,
// and returns the exit code.
int runRoomCommand(const CommandLine &command);
