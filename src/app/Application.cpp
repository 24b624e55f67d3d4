#include "app/Application.h"

#include "app/debut.h"
#include "platform/ProgramInfo.h"
#include "ui/Artwork.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int runClavimo(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Clavimo"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(CLAVIMO_VERSION_MAJOR)
                                            .arg(CLAVIMO_VERSION_MINOR)
                                            .arg(CLAVIMO_VERSION_PATCH));
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
    debut start;
    start.show();
    return app.exec();
}
