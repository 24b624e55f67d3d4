#pragma once

#include <QString>

class FolderKinds;

// Where the history file goes: beside the record files in the folder the game plays in,
// unless that folder is on a network file system, where SQLite's WAL mode is unsafe; the
// history then goes to the user's own data folder (the one --dossier-utilisateur plays
// in), while the record files stay in the shared folder. When no user data folder is
// known the play folder is kept, as before.
//
// Only a path is computed: the caller creates the user data folder when it is missing.
QString historyFilePath(const QString &playFolder, const FolderKinds &kinds, const QString &userDataFolder);

// The name of the history file.
inline QString historyFileName()
{
    return QStringLiteral("historique.sqlite");
}
