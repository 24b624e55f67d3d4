#include "ui/Faces.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const QColor kInk(60, 38, 8);
const QColor kOutline(150, 95, 0);

void drawHead(QPainter &p)
{
    QRadialGradient fill(QPointF(12.5, 11), 20);
    fill.setColorAt(0, QColor(255, 248, 150));
    fill.setColorAt(0.55, QColor(255, 222, 40));
    fill.setColorAt(1, QColor(238, 180, 0));
    p.setPen(QPen(kOutline, 1.3));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1.5, 1.5, 29, 29));
}

void drawOpenEyes(QPainter &p, double top)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QRectF(9, top, 3.6, 5));
    p.drawEllipse(QRectF(19.4, top, 3.6, 5));
    // A small highlight keeps the eyes from looking like holes.
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QRectF(10, top + 0.8, 1.3, 1.5));
    p.drawEllipse(QRectF(20.4, top + 0.8, 1.3, 1.5));
}

void drawClosedEyes(QPainter &p)
{
    p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath left(QPointF(8.5, 13.5));
    left.quadTo(QPointF(11, 9), QPointF(13.5, 13.5));
    QPainterPath right(QPointF(18.5, 13.5));
    right.quadTo(QPointF(21, 9), QPointF(23.5, 13.5));
    p.drawPath(left);
    p.drawPath(right);
}

void drawMouthCurve(QPainter &p, QPointF from, QPointF control, QPointF to)
{
    p.setPen(QPen(kInk, 1.7, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath mouth(from);
    mouth.quadTo(control, to);
    p.drawPath(mouth);
}

void drawLaughingMouth(QPainter &p)
{
    QPainterPath mouth(QPointF(8, 18));
    mouth.lineTo(QPointF(24, 18));
    mouth.cubicTo(QPointF(23, 26), QPointF(9, 26), QPointF(8, 18));
    p.setPen(QPen(kInk, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(120, 20, 20));
    p.drawPath(mouth);
    p.save();
    p.setClipPath(mouth);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 18, 16, 2.2));
    p.setBrush(QColor(235, 90, 90));
    p.drawEllipse(QRectF(12.5, 21.5, 7, 5));
    p.restore();
}

void drawNose(QPainter &p)
{
    p.setPen(QPen(QColor(170, 90, 0), 0.9));
    p.setBrush(QColor(225, 120, 10));
    p.drawEllipse(QRectF(13.9, 14.2, 4.2, 4));
}

} // namespace

QPixmap facePixmap(int image)
{
    QImage img(kFaceSize, kFaceSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    drawHead(p);
    switch (image) {
    case 2: // smiling
        drawOpenEyes(p, 9.5);
        drawMouthCurve(p, QPointF(9, 19), QPointF(16, 26.5), QPointF(23, 19));
        break;
    case 3: // laughing
        drawClosedEyes(p);
        drawLaughingMouth(p);
        break;
    case 4: // sad
        drawOpenEyes(p, 10.5);
        p.setPen(QPen(kInk, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8.5, 9), QPointF(12.5, 7.5));
        p.drawLine(QPointF(23.5, 9), QPointF(19.5, 7.5));
        drawMouthCurve(p, QPointF(10, 24), QPointF(16, 18.5), QPointF(22, 24));
        break;
    case 5: // smiling with a nose
        drawOpenEyes(p, 8.5);
        drawNose(p);
        drawMouthCurve(p, QPointF(9, 20), QPointF(16, 27), QPointF(23, 20));
        break;
    default: // neutral
        drawOpenEyes(p, 9.5);
        p.setPen(QPen(kInk, 1.7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11, 21.5), QPointF(21, 21.5));
        break;
    }
    p.end();
    return QPixmap::fromImage(img);
}
