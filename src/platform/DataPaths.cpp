#include "platform/DataPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString locateDataFile(const QString &fileName)
{
    if (QFileInfo(fileName).isFile())
        return fileName;
    QStringList folders;
    if (QCoreApplication::instance()) {
        const QString appDir = QCoreApplication::applicationDirPath();
        folders << appDir + QStringLiteral("/../share/clavimo") << appDir + QStringLiteral("/data");
    }
    folders << QStringLiteral(CLAVIMO_INSTALL_DATA_DIR) << QStringLiteral(CLAVIMO_BUILD_DATA_DIR);
    for (const QString &folder : folders) {
        const QString candidate = QDir(folder).filePath(fileName);
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return fileName;
}
