#pragma once

#include <QString>

// Where a data file the program ships (word list, sounds) is found: the working folder
// first, then the folder it was installed to or built from. Once installed, with a
// share/clavimo folder beside its bin folder, the program looks there and nowhere else.
// Returns the bare name when it is nowhere, so that opening it fails as for any missing
// file.
QString locateDataFile(const QString &fileName);

// The user's own data folder for the game, `$XDG_DATA_HOME/clavimo` (by default
// ~/.local/share/clavimo) or its equivalent elsewhere; empty when the system has none. It is
// not created here.
QString userDataFolder();
