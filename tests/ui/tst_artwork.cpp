// Guards the program's drawn pictures: their sizes, that something is drawn, the icon's red
// on black, the decorations' see-through surround, and the large icons as sharp as the small.
#include "ui/Artwork.h"

#include <QImage>
#include <QSet>
#include <QtTest>

#include <functional>

using Picture = std::function<QPixmap()>;

static QImage image(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

class TestArtwork : public QObject
{
    Q_OBJECT

private slots:
    // kind: s splash (opaque, at most sixteen colours), i icon (red on black), d decoration.
    void pictures_data()
    {
        QTest::addColumn<Picture>("picture");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<char>("kind");
        QTest::newRow("splash") << Picture(splashPicture) << QSize(243, 182) << 's';
        QTest::newRow("icon 16") << Picture([] { return programIconPixmap(16); }) << QSize(16, 16) << 'i';
        QTest::newRow("icon odd size") << Picture([] { return programIconPixmap(40); }) << QSize(32, 32) << 'i';
        QTest::newRow("icon too large") << Picture([] { return programIconPixmap(2048); }) << QSize(32, 32) << 'i';
        QTest::newRow("players") << Picture(playersIcon) << QSize(32, 32) << 'd';
        QTest::newRow("hand-over") << Picture(handOverIcon) << QSize(32, 32) << 'd';
    }
    void pictures()
    {
        QFETCH(Picture, picture);
        QFETCH(QSize, size);
        QFETCH(char, kind);
        const QImage drawn = image(picture());
        QCOMPARE(drawn.size(), size);
        QSet<QRgb> colours;
        int opaque = 0, red = 0, black = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) {
                const QRgb c = drawn.pixel(x, y);
                colours.insert(c);
                opaque += qAlpha(c) == 255;
                red += c == qRgb(qRed(c), 0, 0) && qRed(c) >= 128;
                black += c == qRgb(0, 0, 0);
            }
        const int area = size.width() * size.height();
        QVERIFY(colours.size() >= (kind == 'i' ? 2 : 5));
        QVERIFY(kind != 's' || (opaque == area && colours.size() <= 16));
        QVERIFY(kind != 'i' || (red + black == area && red >= area / 10 && red <= area / 2));
        QVERIFY(kind != 'd' || (opaque > area / 4 && opaque < area * 9 / 10 && qAlpha(drawn.pixel(31, 0)) == 0));
    }

    // Every installed size repeats each pixel of the 16 or 32 picture in a square block.
    void iconSizes()
    {
        QVERIFY(programIconSizes().contains(16) && programIconSizes().contains(256));
        for (int size : programIconSizes()) {
            const QImage large = image(programIconPixmap(size));
            const int base = size % 32 ? 16 : 32;
            QCOMPARE(large.scaled(base, base), image(programIconPixmap(base)));
            QCOMPARE(large, image(programIconPixmap(base)).scaled(size, size));
            QVERIFY(programIcon().availableSizes().contains(QSize(size, size)));
        }
    }
};

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
