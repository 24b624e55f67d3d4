#include "ui/KeyboardMapView.h"

#include "ui/KeyboardMapAccessible.h"
#include "ui/SpokenText.h"

#include <QAccessible>
#include <QFontMetricsF>
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
constexpr double kSide = 0.06;     // room left on each side of a key's text, in key heights
constexpr int kSmallestPixels = 5;
constexpr int kSmallestReadPixels = 7;

struct Room
{
    QString text;
    QRectF room;
};

// The largest pixel size up to `largest` at which every text fits its room, so that one
// size serves the whole map; the smallest size tried when even that does not fit.
QFont fittingFont(QFont font, double largest, const QList<Room> &texts)
{
    for (int pixels = int(largest); pixels > kSmallestPixels; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetricsF metrics(font);
        const bool fits = std::all_of(texts.begin(), texts.end(), [&metrics](const Room &t) {
            return metrics.horizontalAdvance(t.text) <= t.room.width() && metrics.height() <= t.room.height();
        });
        if (fits)
            return font;
    }
    font.setPixelSize(kSmallestPixels);
    return font;
}

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
    drawnNotes_.clear();
    spokenNotes_.clear();
    emphasised_ = -1;
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

void KeyboardMapView::setNotes(const QStringList &drawn, const QStringList &spoken, int emphasised)
{
    const bool fits = drawn.size() == places_.size() && spoken.size() == places_.size();
    drawnNotes_ = fits ? drawn : QStringList();
    spokenNotes_ = fits ? spoken : QStringList();
    emphasised_ = fits ? emphasised : -1;
    update();
    if (hasFocus())
        emit currentChanged(currentDescription());
}

QString KeyboardMapView::spokenKey(int index) const
{
    const KeyboardMap::KeyFigures &f = figures_.at(index);
    if (!spokenNotes_.isEmpty())
        return QStringLiteral("Touche %1\u00A0: %2").arg(f.label, spokenNotes_.at(index));
    return SpokenText::key(f.label, f.wrong, f.expected);
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
    if (!spokenNotes_.isEmpty())
        return spokenKey(current_);
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

QString KeyboardMapView::rateText(double rate)
{
    return QLocale(QLocale::French, QLocale::France).toString(100.0 * rate, 'f', 1) + QStringLiteral("\u00A0%");
}

QRectF KeyboardMapView::labelRoom(const QRectF &key)
{
    const double side = key.height() * kSide;
    return QRectF(key.x() + side, key.y() + key.height() * 0.08, key.width() - 2 * side, key.height() * 0.55);
}

QRectF KeyboardMapView::rateRoom(const QRectF &key)
{
    const double side = key.height() * kSide;
    return QRectF(key.x() + side, key.y() + key.height() * 0.58, key.width() - 2 * side, key.height() * 0.38);
}

KeyboardMapView::KeyFonts KeyboardMapView::keyFonts() const
{
    QList<Room> labels, rates;
    for (int i = 0; i < places_.size(); ++i) {
        const QRectF r = keyRect(i);
        labels.append({figures_[i].label, labelRoom(r)});
        if (!drawnNotes_.isEmpty())
            rates.append({drawnNotes_[i], rateRoom(r)});
        else if (figures_[i].expected > 0)
            rates.append({rateText(figures_[i].rate()), rateRoom(r)});
    }
    const double unit = std::min(width() / kUnits, height() / kRows);
    return {fittingFont(font(), unit * 0.36, labels), fittingFont(font(), unit * 0.22, rates)};
}

QSize KeyboardMapView::sizeHint() const
{
    return QSize(int(kUnits * 40), int(kRows * 40));
}

QSize KeyboardMapView::minimumSizeHint() const
{
    // Keys wide enough for the widest rate at the smallest size still easily read.
    QFont small = font();
    small.setPixelSize(kSmallestReadPixels);
    const double text = QFontMetricsF(small).horizontalAdvance(rateText(1.0));
    const double unit = std::max(24.0, std::ceil(text / (1 - 2 * kSide) / (1 - kGap)));
    return QSize(int(kUnits * unit), int(kRows * unit));
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
            QToolTip::showText(help->globalPos(), spokenNotes_.isEmpty() ? KeyboardMap::tooltip(figures_[key]) : spokenKey(key),
                               this, keyRect(key).toRect());
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
    const KeyFonts fonts = keyFonts();
    for (int i = 0; i < places_.size(); ++i) {
        const QRectF r = keyRect(i);
        const KeyboardMap::KeyFigures &f = figures_[i];
        const QColor fill = colourFor(f.rate());
        const double border = i == emphasised_ ? unit * 0.12 : i == current_ && hasFocus() ? 2.5 : 1.0;
        p.setPen(QPen(palette().color(QPalette::WindowText), border));
        p.setBrush(fill);
        p.drawRoundedRect(r, unit * 0.1, unit * 0.1);
        if (f.expected <= 0) {
            p.setBrush(QBrush(QColor(170, 170, 170), Qt::BDiagPattern));
            p.drawRoundedRect(r, unit * 0.1, unit * 0.1);
        }
        p.setPen(textColourOn(fill));
        p.setFont(fonts.label);
        p.drawText(labelRoom(r), Qt::AlignCenter, f.label);
        if (!drawnNotes_.isEmpty()) {
            p.setFont(fonts.rate);
            p.drawText(rateRoom(r), Qt::AlignCenter, drawnNotes_[i]);
        } else if (f.expected > 0) {
            p.setFont(fonts.rate);
            p.drawText(rateRoom(r), Qt::AlignCenter, rateText(f.rate()));
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
