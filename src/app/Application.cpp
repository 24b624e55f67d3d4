#include "app/Application.h"

#include "app/GameApplication.h"
#include "platform/DataPaths.h"
#include "platform/HistoryLocation.h"
#include "platform/ProgramInfo.h"
#include "platform/SystemFolderKinds.h"
#include "ui/Artwork.h"
#include "adapters/QtServices.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

int runClavimo(int argc, char *argv[], const std::optional<ServerAddress> &server)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(programTitle());
    QApplication::setApplicationVersion(versionText());
    QApplication::setDesktopFileName(applicationId());
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QTranslator translator;
    if (translator.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);
    QApplication::setWindowIcon(programIcon());
    // Frames carry their caption on their top line, as the windows were designed.
    app.setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); margin-top: 0.6em; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 0.5em; padding: 0 0.2em; }"));
    QtServiceSet services;
    HistoryPlace history;
    history.server = server;
    // The history file stays off network folders; the user's folder is made when it is
    // to hold it (a failure there is told by the history at its first use).
    history.file = historyFilePath(QString(), SystemFolderKinds(), userDataFolder());
    if (QFileInfo(history.file).isAbsolute())
        QDir().mkpath(QFileInfo(history.file).absolutePath());
    GameApplication game(services.services(), history);
    game.start();
    const int code = app.exec();
    // A server that hangs may hold the sending thread in a call that cannot be broken off;
    // the games it was sending stay in the outbox, so the program ends without it.
    if (!game.stopHistory(1000)) {
        std::fflush(nullptr);
        std::quick_exit(code);
    }
    return code;
}
