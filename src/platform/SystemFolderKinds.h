#pragma once

#include "platform/Environment.h"

#include <QString>

// Whether a Linux file system type, as statfs gives it in f_type, is a network or cluster
// file system whose locks and shared memory do not hold between computers.
bool isNetworkFileSystemType(unsigned long long magic);

// The folder itself when it exists, else its nearest existing parent (the current folder
// for an empty or relative path that leads nowhere), made absolute.
QString nearestExistingFolder(const QString &path);

// Asks the system where a folder lives: on Linux the file system type (statfs), on
// Windows the kind of drive or a UNC path, on macOS the file system's "local" flag. A
// folder that does not exist yet is judged by its nearest existing parent. When the
// system cannot tell, the folder counts as local, so the game keeps its old behaviour.
class SystemFolderKinds : public FolderKinds
{
public:
    bool isRemote(const QString &folder) const override;
};
