#include "platform/SettingsLayoutMemory.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString kKey = QStringLiteral("clavier/disposition");

} // namespace

SettingsLayoutMemory::SettingsLayoutMemory(const QString &file)
    : file_(file.isEmpty() ? QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                                 .filePath(QStringLiteral("clavimo/clavimo.conf"))
                           : file)
{
}

QString SettingsLayoutMemory::remembered()
{
    return QSettings(file_, QSettings::IniFormat).value(kKey).toString();
}

void SettingsLayoutMemory::remember(const QString &layout)
{
    // A file that cannot be written only means the choice is asked again next time.
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(kKey, layout);
    settings.sync();
}
