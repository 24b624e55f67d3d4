#include "history/ServerSetting.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

QStringList ServerSetting::settingsFiles()
{
    QStringList files;
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        files << QDir(folder).filePath(QStringLiteral("clavimo/clavimo.conf"));
    return files;
}

ServerSetting ServerSetting::find(const QString &commandLine, const QStringList &files)
{
    if (!commandLine.isNull())
        return {commandLine, QStringLiteral("--historique-serveur")};
    for (const QString &file : files) {
        if (!QFileInfo(file).isFile())
            continue;
        const QSettings settings(file, QSettings::IniFormat);
        const QString key = QStringLiteral("historique/serveur");
        if (!settings.contains(key))
            continue;
        // The settings reader splits an unquoted value at its commas.
        const QVariant value = settings.value(key);
        const QString uri = value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(','))
                                                                     : value.toString();
        return {uri.trimmed(), QDir::toNativeSeparators(file)};
    }
    return {};
}
