#pragma once

#include <QString>

// Tells a folder on another computer (a network or cluster file system) from one on this
// computer's own disks. SQLite's WAL mode and its locks are not safe on the former, so the
// history file is kept elsewhere when the game plays in such a folder.
class FolderKinds
{
public:
    virtual ~FolderKinds() = default;
    virtual bool isRemote(const QString &folder) const = 0;
};
