// Guards the program's drawn pictures: their sizes, that they are really drawn, the splash's sixteen colours, the icon's red on black and the decorations' transparent surround.

#include "ui/Artwork.h"

#include <QImage>
#include <QSet>
#include <QtTest>

#include <functional>

using Picture = std::function<QPixmap()>;
enum Kind { Splash, Icon, Decoration };

class TestArtwork : public QObject
{
    Q_OBJECT

private slots:
    void pictures_data()
    {
        QTest::addColumn<Picture>("picture");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("kind");
        QTest::newRow("splash") << Picture(splashPicture) << QSize(243, 182) << int(Splash);
        QTest::newRow("icon 16") << Picture([] { return programIconPixmap(16); }) << QSize(16, 16) << int(Icon);
        QTest::newRow("icon 64") << Picture([] { return programIconPixmap(64); }) << QSize(64, 64) << int(Icon);
        QTest::newRow("icon odd size") << Picture([] { return programIconPixmap(48); }) << QSize(32, 32) << int(Icon);
        QTest::newRow("players") << Picture(playersIcon) << QSize(32, 32) << int(Decoration);
        QTest::newRow("hand-over") << Picture(handOverIcon) << QSize(32, 32) << int(Decoration);
    }
    void pictures()
    {
        QFETCH(Picture, picture);
        QFETCH(QSize, size);
        QFETCH(int, kind);
        const QImage image = picture().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), size);
        QSet<QRgb> colours;
        int opaque = 0, red = 0, redOrBlack = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                colours.insert(c);
                opaque += qAlpha(c) == 255;
                redOrBlack += qAlpha(c) == 255 && qGreen(c) == 0 && qBlue(c) == 0;
                red += qAlpha(c) == 255 && qGreen(c) == 0 && qBlue(c) == 0 && qRed(c) >= 128;
            }
        const int area = size.width() * size.height();
        QVERIFY2(colours.size() >= (kind == Splash ? 8 : kind == Icon ? 2 : 5), qPrintable(QString::number(colours.size())));
        QVERIFY(kind != Splash || (opaque == area && colours.size() <= 16));
        QVERIFY(kind != Icon || (redOrBlack == area && red >= area / 10 && red <= area / 2));
        QVERIFY(kind != Decoration || (opaque > area / 4 && opaque < area * 9 / 10 && qAlpha(image.pixel(31, 0)) == 0));
        QVERIFY(programIcon().availableSizes().contains(QSize(64, 64)));
    }
};

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
