// Guards the program's drawn pictures: the sizes asked for, something drawn, the splash
// opaque, the decorations on a see-through surround, and the large icons as sharp as the small.
#include "ui/Artwork.h"

#include <QSet>
#include <QtTest>

static QImage image(const QPixmap &pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_ARGB32); }

class TestArtwork : public QObject
{
    Q_OBJECT

private slots:
    void pictures()
    {
        // Rows: the picture, its size, whether every pixel is opaque (else the corner is see-through).
        for (const auto &[picture, size, opaque] : {std::tuple{splashPicture(), 243, true}, {programIconPixmap(16), 16, true},
                                                    {programIconPixmap(40), 32, true}, {programIconPixmap(2048), 32, true},
                                                    {playersIcon(), 32, false}, {handOverIcon(), 32, false}}) {
            const QImage drawn = image(picture);
            QSet<QRgb> colours;
            for (int y = 0; y < drawn.height(); ++y)
                for (int x = 0; x < drawn.width(); ++x)
                    colours.insert(drawn.pixel(x, y));
            QCOMPARE(drawn.width(), size);
            QVERIFY(colours.size() >= 2 && (qAlpha(drawn.pixel(drawn.width() - 1, 0)) == 255) == opaque);
        }
        // Every installed size repeats each pixel of the 16 or 32 picture in a square block.
        QVERIFY(programIconSizes().contains(16) && programIconSizes().contains(256));
        for (int size : programIconSizes()) {
            const QImage base = image(programIconPixmap(size % 32 ? 16 : 32));
            QCOMPARE(image(programIconPixmap(size)), base.scaled(size, size));
            QVERIFY(programIcon().availableSizes().contains(QSize(size, size)));
        }
    }
};

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
