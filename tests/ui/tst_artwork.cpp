// Guards the program's drawn pictures: their sizes, that they are really drawn, the splash's sixteen colours, the icon's red on black at every size and the decorations' transparent surround.

#include "ui/Artwork.h"

#include <QCryptographicHash>
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
        QTest::newRow("icon odd size") << Picture([] { return programIconPixmap(40); }) << QSize(32, 32) << int(Icon);
        QTest::newRow("icon too large") << Picture([] { return programIconPixmap(2048); }) << QSize(32, 32) << int(Icon);
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
    }

    // Every icon size repeats each pixel of the 16 or 32 picture in a square block, so that
    // the installed icons are as sharp as the window's; the small pictures themselves, seen
    // in the main window, are kept exactly as they are (fingerprints of their pixels).
    void iconSizes_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("base");
        QTest::addColumn<QByteArray>("fingerprint");
        QTest::newRow("16") << 16 << 16 << QByteArray("1c0bb9cf68233678");
        QTest::newRow("32") << 32 << 32 << QByteArray("e5428e693ac52305");
        QTest::newRow("48") << 48 << 16 << QByteArray();
        QTest::newRow("64") << 64 << 32 << QByteArray();
        QTest::newRow("128") << 128 << 32 << QByteArray();
        QTest::newRow("256") << 256 << 32 << QByteArray();
    }
    void iconSizes()
    {
        QFETCH(int, size);
        QFETCH(int, base);
        QFETCH(QByteArray, fingerprint);
        const QImage image = programIconPixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage small = programIconPixmap(base).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(size, size));
        const int factor = size / base;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                QVERIFY2(image.pixel(x, y) == small.pixel(x / factor, y / factor), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        if (!fingerprint.isEmpty()) {
            QByteArray bytes;
            for (int y = 0; y < size; ++y)
                bytes.append(reinterpret_cast<const char *>(image.constScanLine(y)), size * 4);
            QCOMPARE(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(16), fingerprint);
        }
        QVERIFY(programIconSizes().contains(size) && programIcon().availableSizes().contains(QSize(size, size)));
    }
};

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
