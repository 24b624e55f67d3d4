#include "app/Application.h"

#include "app/GameApplication.h"
#include "platform/ProgramInfo.h"
#include "ui/Artwork.h"
#include "ui/QtServices.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int runClavimo(int argc, char *argv[])
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
    GameApplication game(services.services());
    game.start();
    return app.exec();
}
