#include "ui/RecordLineDelegate.h"

#include "ui/RecordsTableModel.h"

#include <QApplication>
#include <QPainter>
#include <QTableView>

RecordLineDelegate::RecordLineDelegate(QTableView *view)
    : QStyledItemDelegate(view)
    , view_(view)
{
}

int RecordLineDelegate::textMargin() const
{
    QStyle *style = view_->style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view_) + 1;
}

int RecordLineDelegate::lineHeight() const
{
    QStyleOptionViewItem option;
    option.initFrom(view_);
    option.font = view_->font();
    option.fontMetrics = QFontMetrics(option.font);
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("Mg");
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    return view_->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), view_).height();
}

void RecordLineDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    cell.text.clear();
    // The row is drawn as one line: no focus frame around a single cell.
    cell.state &= ~QStyle::State_HasFocus;
    QStyle *style = view_->style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, view_);

    const QString line = index.data(RecordsTableModel::LineRole).toString();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, view_);
    const int lineLeft = view_->columnViewportPosition(0) + textMargin();
    painter->save();
    painter->setClipRect(option.rect);
    painter->setFont(option.font);
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect lineRect(lineLeft, textRect.top(), option.rect.right() - lineLeft + 1, textRect.height());
    painter->drawText(lineRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
    painter->restore();
}
