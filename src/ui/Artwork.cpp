#include "ui/Artwork.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstring>
#include <iterator>
#include <numbers>
#include <initializer_list>

namespace {

// The sixteen colours of the classic PC palette; every picture keeps to them.
namespace Vga {
const QColor Black(0, 0, 0);
const QColor Maroon(128, 0, 0);
const QColor Green(0, 128, 0);
const QColor Navy(0, 0, 128);
const QColor Teal(0, 128, 128);
const QColor Gray(128, 128, 128);
const QColor Silver(192, 192, 192);
const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);
const QColor Yellow(255, 255, 0);
const QColor Cyan(0, 255, 255);
const QColor White(255, 255, 255);
} // namespace Vga

using Glyph = std::initializer_list<const char *>;

// Condensed 3-pixel-wide capitals (M is 5) for the icon's lettering, 9 rows high.
const Glyph kC = {".##", "#..", "#..", "#..", "#..", "#..", "#..", "#..", ".##"};
const Glyph kL = {"#..", "#..", "#..", "#..", "#..", "#..", "#..", "#..", "###"};
const Glyph kA = {".#.", "#.#", "#.#", "#.#", "###", "#.#", "#.#", "#.#", "#.#"};
const Glyph kV = {"#.#", "#.#", "#.#", "#.#", "#.#", "#.#", "#.#", ".#.", ".#."};
const Glyph kI = {"#", "#", "#", "#", "#", "#", "#", "#", "#"};
const Glyph kM = {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#", "#...#",
                  "#...#"};
const Glyph kO = {".#.", "#.#", "#.#", "#.#", "#.#", "#.#", "#.#", "#.#", ".#."};

int glyphWidth(const Glyph &glyph)
{
    return int(std::strlen(*glyph.begin()));
}

void drawGlyph(QImage &image, const Glyph &glyph, int left, int top, const QColor &colour)
{
    int y = top;
    for (const char *row : glyph) {
        for (int x = 0; row[x] != '\0'; ++x) {
            if (row[x] == '#')
                image.setPixelColor(left + x, y, colour);
        }
        ++y;
    }
}

void fillRow(QImage &image, int y, int from, int to, const QColor &colour)
{
    for (int x = from; x <= to; ++x)
        image.setPixelColor(x, y, colour);
}

QImage blankImage(int width, int height, const QColor &background)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(background);
    return image;
}

// The icon at 32 x 32, pixel by pixel: the word between a pair of rules above and below,
// a bright one close to the letters and a dark one further out.
QImage programIcon32()
{
    QImage image = blankImage(32, 32, Vga::Black);
    fillRow(image, 4, 2, 29, Vga::Maroon);
    fillRow(image, 6, 1, 30, Vga::Red);
    fillRow(image, 7, 1, 30, Vga::Red);
    fillRow(image, 24, 1, 30, Vga::Red);
    fillRow(image, 25, 1, 30, Vga::Red);
    fillRow(image, 27, 2, 29, Vga::Maroon);

    const Glyph *word[] = {&kC, &kL, &kA, &kV, &kI, &kM, &kO};
    int width = -1;
    for (const Glyph *g : word)
        width += glyphWidth(*g) + 1;
    int x = (32 - width) / 2;
    for (const Glyph *g : word) {
        drawGlyph(image, *g, x, 11, Vga::Red);
        x += glyphWidth(*g) + 1;
    }
    return image;
}

// At 16 pixels the seven letters cannot be read; the initial takes their place.
QImage programIcon16()
{
    QImage image = blankImage(16, 16, Vga::Black);
    fillRow(image, 1, 1, 14, Vga::Red);
    fillRow(image, 14, 1, 14, Vga::Red);
    const Glyph bigC = {"..####.", ".##..##", "##.....", "##.....", "##.....", "##.....",
                        "##.....", "##.....", ".##..##", "..####."};
    drawGlyph(image, bigC, 5, 3, Vga::Red);
    return image;
}

QPixmap scaledUp(const QImage &image, int factor)
{
    return QPixmap::fromImage(image.scaled(image.size() * factor, Qt::IgnoreAspectRatio,
                                           Qt::FastTransformation));
}

// A key cap as drawn by the desktops of the time: black outline, white light from the
// top left, grey shade on the bottom right, a letter in the middle.
void drawKey(QPainter &p, const QRect &r, const QString &letter, bool lit)
{
    const QColor face = lit ? Vga::Red : Vga::Silver;
    const QColor light = lit ? Vga::Yellow : Vga::White;
    const QColor shade = lit ? Vga::Maroon : Vga::Gray;
    p.fillRect(r, Vga::Black);
    const QRect inner = r.adjusted(1, 1, -1, -1);
    p.fillRect(inner, shade);
    p.fillRect(inner.adjusted(0, 0, -2, -2), light);
    p.fillRect(inner.adjusted(1, 1, -2, -2), face);
    p.setPen(lit ? Vga::White : Vga::Black);
    p.drawText(inner.adjusted(0, 0, -1, -2), Qt::AlignCenter, letter);
}

void drawStopwatch(QPainter &p, const QPoint &centre, int radius)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Vga::Silver);
    p.drawRect(centre.x() - 3, centre.y() - radius - 6, 7, 5);
    p.drawRect(centre.x() + radius - 4, centre.y() - radius + 1, 5, 5);
    p.setPen(QPen(Vga::Black, 2));
    p.setBrush(Vga::White);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(Vga::Black, 1));
    for (int k = 0; k < 12; ++k) {
        const double a = k * std::numbers::pi / 6;
        const double inner = (k % 3 == 0) ? radius - 6 : radius - 4;
        p.drawLine(QPointF(centre.x() + inner * std::sin(a), centre.y() - inner * std::cos(a)),
                   QPointF(centre.x() + (radius - 2) * std::sin(a),
                           centre.y() - (radius - 2) * std::cos(a)));
    }
    const double hand = 2 * std::numbers::pi * 0.37;
    p.setPen(QPen(Vga::Red, 2));
    p.drawLine(centre, QPoint(centre.x() + int(std::lround((radius - 4) * std::sin(hand))),
                              centre.y() - int(std::lround((radius - 4) * std::cos(hand)))));
    p.setPen(Qt::NoPen);
    p.setBrush(Vga::Black);
    p.drawRect(centre.x() - 1, centre.y() - 1, 3, 3);
}

QFont pixelFont(const QString &family, int pixelSize, bool bold, bool italic)
{
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    // Plain pixels, no blending: the text keeps to the sixteen colours.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

QPixmap splashPicture()
{
    QImage image = blankImage(243, 182, Vga::Navy);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);

    // Frame.
    p.setPen(Vga::Blue);
    p.setBrush(Qt::NoBrush);
    p.drawRect(2, 2, 238, 177);

    // The title, leaning forward, with speed streaks trailing behind it; the largest size
    // that fits between the streaks and the stopwatch.
    const QString title = QStringLiteral("Clavimo");
    const int titleLeft = 32;
    const int titleRoom = 152;
    QFont titleFont;
    for (int px = 46; px >= 20; px -= 2) {
        titleFont = pixelFont(QStringLiteral("Liberation Sans"), px, true, true);
        if (QFontMetrics(titleFont).horizontalAdvance(title) <= titleRoom)
            break;
    }
    p.setFont(titleFont);
    const int baseline = 52;
    p.setPen(Vga::Black);
    p.drawText(titleLeft + 3, baseline + 3, title);
    p.setPen(Vga::Yellow);
    p.drawText(titleLeft, baseline, title);
    struct Streak { int y, from, to; QColor colour; };
    const Streak streaks[] = {
        {22, 10, 32, Vga::Cyan}, {30, 16, 30, Vga::White}, {38, 6, 28, Vga::Teal},
        {46, 14, 26, Vga::Cyan},
    };
    for (const Streak &s : streaks)
        p.fillRect(s.from, s.y, s.to - s.from, 2, s.colour);

    drawStopwatch(p, QPoint(211, 38), 18);

    // The letter rows of a French keyboard; the keys of the program's name are lit as if
    // just typed.
    const QRect plate(8, 70, 226, 100);
    p.setPen(Vga::Black);
    p.setBrush(Vga::Gray);
    p.drawRect(plate);
    p.setPen(Vga::Silver);
    p.drawLine(plate.left() + 1, plate.top() + 1, plate.right() - 1, plate.top() + 1);

    p.setFont(pixelFont(QStringLiteral("Liberation Sans"), 12, true, false));
    const QString rows[] = {QStringLiteral("AZERTYUIOP"), QStringLiteral("QSDFGHJKLM"),
                            QStringLiteral("WXCVBN,;:!")};
    const QString lit = QStringLiteral("CLAVIMO");
    const int key = 19;
    const int pitch = 21;
    for (int r = 0; r < 3; ++r) {
        const int left = 13 + r * 5;
        const int top = 76 + r * pitch;
        for (int k = 0; k < rows[r].size(); ++k) {
            const QString letter = rows[r].mid(k, 1);
            drawKey(p, QRect(left + k * pitch, top, key, key), letter, lit.contains(letter));
        }
    }
    drawKey(p, QRect(62, 76 + 3 * pitch, 118, 17), QString(), false);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap programIconPixmap(int size)
{
    // Larger icons repeat every pixel of a small picture, so that they stay as sharp: the
    // lettered picture for the multiples of 32, the initial for the other multiples of 16.
    if (size < 16 || size > 1024 || size % 16 != 0)
        return QPixmap::fromImage(programIcon32());
    if (size % 32 == 0)
        return scaledUp(programIcon32(), size / 32);
    return scaledUp(programIcon16(), size / 16);
}

QList<int> programIconSizes()
{
    return {16, 32, 48, 64, 128, 256};
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : programIconSizes())
        icon.addPixmap(programIconPixmap(size));
    return icon;
}

QPixmap playersIcon()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);

    // A figure: round head, shoulders rounding into a body cut off by the frame.
    auto figure = [&p](int cx, int headTop, int headSize, int bodyWidth, const QColor &shirt) {
        p.setPen(Vga::Black);
        const int bodyTop = headTop + headSize + 1;
        QPainterPath body;
        body.addRoundedRect(QRectF(cx - bodyWidth / 2.0, bodyTop, bodyWidth, 40), 6, 6);
        p.setBrush(shirt);
        p.drawPath(body);
        p.setBrush(Vga::Yellow);
        p.drawEllipse(QRect(cx - headSize / 2, headTop, headSize, headSize));
        p.setPen(Qt::NoPen);
        p.setBrush(Vga::Black);
        const int eyes = headTop + headSize / 2 - 1;
        p.drawRect(cx - headSize / 4 - 1, eyes, 1, 2);
        p.drawRect(cx + headSize / 4, eyes, 1, 2);
        const int mouth = headTop + headSize * 3 / 4;
        p.drawRect(cx - 2, mouth, 4, 1);
        p.drawRect(cx - 3, mouth - 1, 1, 1);
        p.drawRect(cx + 2, mouth - 1, 1, 1);
    };
    figure(21, 3, 10, 16, Vga::Green);
    figure(11, 8, 12, 18, Vga::Blue);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap handOverIcon()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);

    // Pole with a light edge, and a gold knob on top.
    for (int y = 4; y <= 30; ++y) {
        image.setPixelColor(5, y, Vga::Black);
        image.setPixelColor(6, y, Vga::White);
        image.setPixelColor(7, y, Vga::Silver);
        image.setPixelColor(8, y, Vga::Black);
    }
    fillRow(image, 31, 5, 8, Vga::Black);
    const Glyph knob = {".##.", "#yy#", "#yy#", ".##."};
    int y = 1;
    for (const char *row : knob) {
        for (int x = 0; x < 4; ++x) {
            if (row[x] == '#')
                image.setPixelColor(5 + x, y, Vga::Black);
            else if (row[x] == 'y')
                image.setPixelColor(5 + x, y, Vga::Yellow);
        }
        ++y;
    }

    // The chequered cloth, waving: each column of squares sits a little higher or lower,
    // so that the squares stay square.
    const int clothLeft = 9;
    const int clothHeight = 16;
    const int wave[] = {0, -1, -2, -1, 0};
    const int clothRight = clothLeft + 4 * int(std::size(wave)) - 1;
    auto topOf = [&](int x) { return 8 + wave[(x - clothLeft) / 4]; };
    for (int x = clothLeft; x <= clothRight; ++x) {
        const int c = x - clothLeft;
        const int top = topOf(x);
        image.setPixelColor(x, top - 1, Vga::Black);
        image.setPixelColor(x, top + clothHeight, Vga::Black);
        for (int r = 0; r < clothHeight; ++r) {
            const bool dark = ((c / 4) + (r / 4)) % 2 == 0;
            image.setPixelColor(x, top + r, dark ? Vga::Black : Vga::White);
        }
    }
    for (int r = -1; r <= clothHeight; ++r)
        image.setPixelColor(clothRight + 1, topOf(clothRight) + r, Vga::Black);
    return QPixmap::fromImage(image);
}
