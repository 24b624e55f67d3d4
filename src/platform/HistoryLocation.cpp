#include "platform/HistoryLocation.h"

#include "platform/Environment.h"

#include <QDir>

QString historyFilePath(const QString &playFolder, const FolderKinds &kinds, const QString &userDataFolder)
{
    const QString name = historyFileName();
    const bool elsewhere = !userDataFolder.isEmpty() && kinds.isRemote(playFolder);
    const QString folder = elsewhere ? userDataFolder : playFolder;
    // An empty play folder is the working folder: the bare name, as the history always had.
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}
