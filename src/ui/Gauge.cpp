#include "ui/Gauge.h"

#include <QAccessibleWidget>
#include <QStyleOptionProgressBar>
#include <QStylePainter>

namespace {

QAccessibleInterface *gaugeAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("Gauge") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Animation);
    return nullptr;
}

} // namespace

Gauge::Gauge(QWidget *parent) : QWidget(parent)
{
    QAccessible::installFactory(&gaugeAccessible);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void Gauge::setValue(int value)
{
    value = qBound(0, value, 100);
    if (value == value_)
        return;
    value_ = value;
    update();
}

void Gauge::initStyleOption(QStyleOptionProgressBar *option) const
{
    option->initFrom(this);
    option->minimum = 0;
    option->maximum = 100;
    option->progress = value_;
    option->textVisible = false;
    option->textAlignment = Qt::AlignLeft;
    option->state |= QStyle::State_Horizontal;
}

QSize Gauge::sizeHint() const
{
    // As a progress bar measures itself, for the same look.
    QStyleOptionProgressBar option;
    initStyleOption(&option);
    const int chunk = style()->pixelMetric(QStyle::PM_ProgressBarChunkWidth, &option, this);
    const QSize size(qMax(9, chunk) * 7 + fontMetrics().horizontalAdvance(QLatin1Char('0')) * 4,
                     fontMetrics().height() + 8);
    return style()->sizeFromContents(QStyle::CT_ProgressBar, &option, size, this);
}

QSize Gauge::minimumSizeHint() const
{
    return {sizeHint().width(), fontMetrics().height() + 2};
}

void Gauge::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionProgressBar option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_ProgressBar, option);
}
