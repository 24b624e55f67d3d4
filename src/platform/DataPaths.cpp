#include "platform/DataPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString locateDataFile(const QString &fileName)
{
    if (QFileInfo(fileName).isFile())
        return fileName;
    QStringList folders;
    if (QCoreApplication::instance()) {
        const QString appDir = QCoreApplication::applicationDirPath();
        const QString installed = QDir::cleanPath(appDir + QStringLiteral("/../share/clavimo"));
        // An installed program uses its own data only, so that a damaged installation shows
        // instead of being hidden by a copy elsewhere, such as the source tree it came from.
        if (QFileInfo(installed).isDir()) {
            const QString candidate = QDir(installed).filePath(fileName);
            return QFileInfo(candidate).isFile() ? candidate : fileName;
        }
        folders << appDir + QStringLiteral("/data");
    }
    folders << QStringLiteral(CLAVIMO_INSTALL_DATA_DIR) << QStringLiteral(CLAVIMO_BUILD_DATA_DIR);
    for (const QString &folder : folders) {
        const QString candidate = QDir(folder).filePath(fileName);
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return fileName;
}

QString userDataFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base.isEmpty() ? QString() : QDir(base).filePath(QStringLiteral("clavimo"));
}
