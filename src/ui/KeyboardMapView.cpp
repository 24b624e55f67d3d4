#include "ui/KeyboardMapView.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

// Where each row starts, in key widths, as on a real keyboard: Tab, Caps Lock and the
// left Shift push the rows below the digits to the right; the space bar sits under C.
constexpr double kRowStart[] = {0, 1.5, 1.75, 1.25, 4.25};
constexpr double kUnits = 14.0;    // keyboard width in key widths
constexpr double kRows = 5.0;
constexpr double kGap = 0.08;      // between keys, in key widths

} // namespace

KeyboardMapView::KeyboardMapView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("keyboardMap"));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Clavier des fautes"));
    const QList<QList<KeyboardMap::Key>> &rows = KeyboardMap::rows();
    for (int r = 0; r < rows.size(); ++r) {
        double x = kRowStart[std::min<int>(r, 4)];
        for (const KeyboardMap::Key &key : rows[r]) {
            places_.append({r, QRectF(x, r, key.width, 1)});
            figures_.append({key.label, 0, 0});
            x += key.width;
        }
    }
}

void KeyboardMapView::setFigures(const QList<KeyboardMap::KeyFigures> &figures)
{
    if (figures.size() == places_.size())
        figures_ = figures;
    update();
    if (hasFocus())
        emit currentChanged(currentDescription());
}

void KeyboardMapView::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    emit currentChanged(currentDescription());
}

QString KeyboardMapView::currentDescription() const
{
    return KeyboardMap::tooltip(figures_.value(current_));
}

QColor KeyboardMapView::colourFor(double rate)
{
    if (rate < 0)
        return QColor(215, 215, 215);
    // Hue 120 (green) at no wrong key down to 0 (red) at kRedRate and above.
    const double share = std::clamp(rate / kRedRate, 0.0, 1.0);
    return QColor::fromHsvF(float((1.0 - share) / 3.0), 0.55f, 0.95f);
}

QSize KeyboardMapView::sizeHint() const
{
    return QSize(int(kUnits * 40), int(kRows * 40));
}

QSize KeyboardMapView::minimumSizeHint() const
{
    return QSize(int(kUnits * 24), int(kRows * 24));
}

QRectF KeyboardMapView::keyRect(int index) const
{
    const double unit = std::min(width() / kUnits, height() / kRows);
    const QPointF origin((width() - unit * kUnits) / 2, (height() - unit * kRows) / 2);
    const QRectF r = places_[index].rect;
    return QRectF(origin.x() + (r.x() + kGap / 2) * unit, origin.y() + (r.y() + kGap / 2) * unit,
                  (r.width() - kGap) * unit, (r.height() - kGap) * unit);
}

int KeyboardMapView::keyAt(const QPointF &point) const
{
    for (int i = 0; i < places_.size(); ++i) {
        if (keyRect(i).contains(point))
            return i;
    }
    return -1;
}

bool KeyboardMapView::event(QEvent *e)
{
    if (e->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(e);
        const int key = keyAt(help->pos());
        if (key >= 0)
            QToolTip::showText(help->globalPos(), KeyboardMap::tooltip(figures_[key]), this, keyRect(key).toRect());
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

void KeyboardMapView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double unit = std::min(width() / kUnits, height() / kRows);
    QFont labelFont = font();
    labelFont.setPixelSize(std::max(8, int(unit * 0.36)));
    QFont rateFont = font();
    rateFont.setPixelSize(std::max(7, int(unit * 0.22)));
    const QLocale french(QLocale::French, QLocale::France);
    for (int i = 0; i < places_.size(); ++i) {
        const QRectF r = keyRect(i);
        const KeyboardMap::KeyFigures &f = figures_[i];
        p.setPen(QPen(palette().color(QPalette::WindowText), i == current_ && hasFocus() ? 2.5 : 1.0));
        p.setBrush(colourFor(f.rate()));
        p.drawRoundedRect(r, unit * 0.1, unit * 0.1);
        p.setPen(Qt::black);
        p.setFont(labelFont);
        const QRectF top(r.x(), r.y() + r.height() * 0.08, r.width(), r.height() * 0.55);
        p.drawText(top, Qt::AlignCenter, f.label);
        if (f.expected > 0) {
            p.setFont(rateFont);
            const QRectF bottom(r.x(), r.y() + r.height() * 0.58, r.width(), r.height() * 0.38);
            p.drawText(bottom, Qt::AlignCenter, french.toString(100.0 * f.rate(), 'f', 1) + QStringLiteral(" %"));
        }
    }
}

void KeyboardMapView::keyPressEvent(QKeyEvent *e)
{
    const QRectF here = places_[current_].rect;
    auto nearestInRow = [this, &here](int row) {
        int best = -1;
        double distance = 1e9;
        for (int i = 0; i < places_.size(); ++i) {
            if (places_[i].row != row)
                continue;
            const double d = std::abs(places_[i].rect.center().x() - here.center().x());
            if (d < distance) {
                distance = d;
                best = i;
            }
        }
        return best;
    };
    const int row = places_[current_].row;
    switch (e->key()) {
    case Qt::Key_Left:
        if (current_ > 0 && places_[current_ - 1].row == row)
            moveCurrent(current_ - 1);
        break;
    case Qt::Key_Right:
        if (current_ + 1 < places_.size() && places_[current_ + 1].row == row)
            moveCurrent(current_ + 1);
        break;
    case Qt::Key_Up:
        if (row > 0)
            moveCurrent(nearestInRow(row - 1));
        break;
    case Qt::Key_Down:
        if (row + 1 < int(kRows))
            moveCurrent(nearestInRow(row + 1));
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
}

void KeyboardMapView::moveCurrent(int key)
{
    if (key < 0 || key == current_)
        return;
    current_ = key;
    update();
    emit currentChanged(currentDescription());
}
