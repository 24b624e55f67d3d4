#pragma once

#include <QString>
#include <QStringList>

// Where a classroom's history server is configured, once per computer by whoever installs
// the room: the key `serveur` of the group `[historique]` of the settings files
// `clavimo/clavimo.conf` (the user's own, then the computer's, the first that has the key
// winning), or `--historique-serveur` on the command line, which wins over both. An empty
// value in the user's file means "no server" even when the computer's file names one.
struct ServerSetting
{
    QString uri;     // empty: no server, the history stays in its file
    QString source;  // where the value was found, for messages: a file or the option

    // The settings files, the user's first: `$XDG_CONFIG_HOME/clavimo/clavimo.conf`, then
    // each system folder's (`/etc/xdg/clavimo/clavimo.conf`), or their equivalents elsewhere.
    static QStringList settingsFiles();
    // The setting in force; `commandLine` is the option's value, null when not given.
    static ServerSetting find(const QString &commandLine, const QStringList &files = settingsFiles());
};
