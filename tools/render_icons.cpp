// Build tool: writes the program icon, as drawn for the window, into PNG files for the
// desktop's icon theme: usage  render_icons FOLDER NAME SIZE...  gives FOLDER/SIZE/NAME.png.
// The sizes asked for must be exactly those of the window icon, so that the launcher and
// the window show the same pictures.

#include "ui/Artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: render_icons FOLDER NAME SIZE...\n");
        return 2;
    }
    QList<int> sizes;
    for (const QString &arg : args.mid(3))
        sizes << arg.toInt();
    QList<int> expected = programIconSizes();
    std::sort(sizes.begin(), sizes.end());
    std::sort(expected.begin(), expected.end());
    if (sizes != expected) {
        std::fprintf(stderr, "render_icons: the sizes asked for differ from the window icon's\n");
        return 1;
    }
    for (int size : sizes) {
        const QString folder = QDir(args.at(1)).filePath(QString::number(size));
        const QString file = QDir(folder).filePath(args.at(2) + QStringLiteral(".png"));
        const QImage image = programIconPixmap(size).toImage();
        if (image.size() != QSize(size, size) || !QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "render_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
