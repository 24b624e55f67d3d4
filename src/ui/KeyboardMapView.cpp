#include "ui/KeyboardMapView.h"

#include "ui/KeyboardMapAccessible.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <iterator>
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
    // Screen readers see each key as a child of the map.
    QAccessible::installFactory(&KeyboardMapAccessible::factory);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Clavier des fautes"));
}

void KeyboardMapView::setKeyboard(const Keyboard &keyboard)
{
    places_.clear();
    figures_.clear();
    for (int r = 0; r < keyboard.rows.size(); ++r) {
        double x = kRowStart[std::min<int>(r, 4)];
        for (const Key &key : keyboard.rows[r]) {
            places_.append({r, QRectF(x, r, key.width, 1)});
            figures_.append({key.label(), 0, 0});
            x += key.width;
        }
    }
    current_ = 0;
    update();
    if (hasFocus()) {
        emit currentChanged(currentDescription());
        reportFocusedKey();
    }
}

void KeyboardMapView::setFigures(const QList<KeyboardMap::KeyFigures> &figures)
{
    if (figures.size() == places_.size())
        figures_ = figures;
    update();
    if (hasFocus()) {
        emit currentChanged(currentDescription());
        reportFocusedKey();
    }
}

void KeyboardMapView::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    emit currentChanged(currentDescription());
    // Qt tells of the map's own focus after this handler; the key is told after it, so
    // that a screen reader ends on the key.
    QMetaObject::invokeMethod(this, &KeyboardMapView::reportFocusedKey, Qt::QueuedConnection);
}

void KeyboardMapView::reportFocusedKey()
{
    if (figures_.isEmpty() || !hasFocus())
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(current_);
    QAccessible::updateAccessibility(&event);
}

QString KeyboardMapView::currentDescription() const
{
    if (figures_.isEmpty())
        return QString();
    return KeyboardMap::tooltip(figures_.value(current_));
}

QColor KeyboardMapView::colourFor(double rate)
{
    if (rate < 0)
        return Qt::white;
    // Each step darker than the one before, every channel falling or nearly so, so that
    // the rate can be read from the lightness alone, as in greys or by a player who does
    // not tell red from green.
    static constexpr int kSteps[][3] = {{255, 255, 204}, {254, 217, 118}, {253, 141, 60}, {227, 26, 28}, {128, 0, 38}};
    constexpr int last = int(std::size(kSteps)) - 1;
    const double at = std::clamp(rate / kDarkestRate, 0.0, 1.0) * last;
    const int from = std::min(int(at), last - 1);
    const double t = at - from;
    auto mix = [&](int channel) {
        return int(std::lround(kSteps[from][channel] + t * (kSteps[from + 1][channel] - kSteps[from][channel])));
    };
    return QColor(mix(0), mix(1), mix(2));
}

QColor KeyboardMapView::textColourOn(const QColor &fill)
{
    return qGray(fill.rgb()) < 128 ? Qt::white : Qt::black;
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
        const QColor fill = colourFor(f.rate());
        p.setPen(QPen(palette().color(QPalette::WindowText), i == current_ && hasFocus() ? 2.5 : 1.0));
        p.setBrush(fill);
        p.drawRoundedRect(r, unit * 0.1, unit * 0.1);
        if (f.expected <= 0) {
            p.setBrush(QBrush(QColor(170, 170, 170), Qt::BDiagPattern));
            p.drawRoundedRect(r, unit * 0.1, unit * 0.1);
        }
        p.setPen(textColourOn(fill));
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
    if (places_.isEmpty()) {
        QWidget::keyPressEvent(e);
        return;
    }
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
    reportFocusedKey();
}
