// Guards the program's drawn pictures: their sizes, that they are really drawn, and the
// icon's red-on-black look with its rules and lettering.
#include "ui/Artwork.h"

#include <QImage>
#include <QSet>
#include <QtTest>

#include <functional>

namespace {

using Picture = std::function<QPixmap()>;

bool isRedOrBlack(QRgb c)
{
    return qAlpha(c) == 255 && qGreen(c) == 0 && qBlue(c) == 0;
}

bool isRed(QRgb c)
{
    return isRedOrBlack(c) && qRed(c) >= 128;
}

int redInRow(const QImage &image, int y)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += isRed(image.pixel(x, y)) ? 1 : 0;
    return count;
}

} // namespace

class TestArtwork : public QObject
{
    Q_OBJECT

private slots:
    void sizes_data();
    void sizes();
    void drawnNotBlank_data();
    void drawnNotBlank();
    void splashKeepsToSixteenColours();
    void iconIsRedOnBlack_data();
    void iconIsRedOnBlack();
    void iconHasRulesAroundLettering();
    void iconOffersEverySize();
    void decorationsHaveTransparentSurround_data();
    void decorationsHaveTransparentSurround();
};

void TestArtwork::sizes_data()
{
    QTest::addColumn<Picture>("picture");
    QTest::addColumn<QSize>("size");
    QTest::newRow("splash") << Picture(splashPicture) << QSize(243, 182);
    QTest::newRow("icon default") << Picture([] { return programIconPixmap(); }) << QSize(32, 32);
    QTest::newRow("icon 16") << Picture([] { return programIconPixmap(16); }) << QSize(16, 16);
    QTest::newRow("icon 64") << Picture([] { return programIconPixmap(64); }) << QSize(64, 64);
    QTest::newRow("icon odd size") << Picture([] { return programIconPixmap(48); })
                                   << QSize(32, 32);
    QTest::newRow("players") << Picture(playersIcon) << QSize(32, 32);
    QTest::newRow("hand-over") << Picture(handOverIcon) << QSize(32, 32);
}

void TestArtwork::sizes()
{
    QFETCH(Picture, picture);
    QFETCH(QSize, size);
    QCOMPARE(picture().size(), size);
}

void TestArtwork::drawnNotBlank_data()
{
    QTest::addColumn<Picture>("picture");
    QTest::addColumn<int>("minColours");
    QTest::newRow("splash") << Picture(splashPicture) << 8;
    QTest::newRow("icon") << Picture([] { return programIconPixmap(32); }) << 3;
    QTest::newRow("players") << Picture(playersIcon) << 5;
    QTest::newRow("hand-over") << Picture(handOverIcon) << 5;
}

void TestArtwork::drawnNotBlank()
{
    QFETCH(Picture, picture);
    QFETCH(int, minColours);
    const QImage image = picture().toImage().convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    QVERIFY2(colours.size() >= minColours, qPrintable(QString::number(colours.size())));
}

void TestArtwork::splashKeepsToSixteenColours()
{
    const QImage image = splashPicture().toImage().convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QCOMPARE(qAlpha(image.pixel(x, y)), 255);
            colours.insert(image.pixel(x, y));
        }
    QVERIFY2(colours.size() <= 16, qPrintable(QString::number(colours.size())));
}

void TestArtwork::iconIsRedOnBlack_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("16") << 16;
    QTest::newRow("32") << 32;
    QTest::newRow("64") << 64;
}

void TestArtwork::iconIsRedOnBlack()
{
    QFETCH(int, size);
    const QImage image = programIconPixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    int red = 0;
    int black = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            QVERIFY2(isRedOrBlack(c), qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            if (isRed(c))
                ++red;
            else if (qRed(c) == 0)
                ++black;
        }
    const int area = size * size;
    QVERIFY(red >= area / 10);
    QVERIFY(black >= area / 2);
}

void TestArtwork::iconHasRulesAroundLettering()
{
    const QImage image = programIconPixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
    // Rules: nearly full-width red rows in the top and in the bottom quarter.
    int topRule = -1;
    int bottomRule = -1;
    for (int y = 0; y < 8; ++y)
        if (redInRow(image, y) >= 28)
            topRule = y;
    for (int y = 31; y >= 24; --y)
        if (redInRow(image, y) >= 28)
            bottomRule = y;
    QVERIFY(topRule >= 0);
    QVERIFY(bottomRule >= 0);

    // Lettering between them: the middle row crosses the seven letters' strokes, and no
    // row there is a rule.
    const int middle = (topRule + bottomRule) / 2;
    int strokes = 0;
    for (int x = 1; x < 32; ++x)
        if (isRed(image.pixel(x, middle)) && !isRed(image.pixel(x - 1, middle)))
            ++strokes;
    QVERIFY2(strokes >= 10, qPrintable(QString::number(strokes)));
    for (int y = topRule + 2; y < bottomRule - 1; ++y)
        QVERIFY(redInRow(image, y) < 28);
}

void TestArtwork::iconOffersEverySize()
{
    const QIcon icon = programIcon();
    QVERIFY(!icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int s : {16, 32, 64})
        QVERIFY(sizes.contains(QSize(s, s)));
}

void TestArtwork::decorationsHaveTransparentSurround_data()
{
    QTest::addColumn<Picture>("picture");
    QTest::newRow("players") << Picture(playersIcon);
    QTest::newRow("hand-over") << Picture(handOverIcon);
}

void TestArtwork::decorationsHaveTransparentSurround()
{
    QFETCH(Picture, picture);
    const QImage image = picture().toImage().convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
    // Drawn on the dialog's own background: neither empty nor a filled square.
    QVERIFY2(opaque > 32 * 32 / 4 && opaque < 32 * 32 * 9 / 10,
             qPrintable(QString::number(opaque)));
    QCOMPARE(qAlpha(image.pixel(31, 0)), 0);
}

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
