#include "ui/RecordLineDelegate.h"

#include "ui/RecordsTableModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QTableView>

#include <algorithm>

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
    // Each cell draws its stretch of the whole row: the background, selection and focus
    // frame of a list's line, then the line of text.
    QStyleOptionViewItem row = option;
    initStyleOption(&row, index);
    row.text.clear();
    const int rowLeft = view_->columnViewportPosition(0);
    const int rowWidth = std::max(view_->viewport()->width() - rowLeft, view_->horizontalHeader()->length());
    row.rect = QRect(rowLeft, option.rect.top(), rowWidth, option.rect.height());
    row.state &= ~QStyle::State_HasFocus;
    QStyle *style = view_->style();
    painter->save();
    painter->setClipRect(option.rect);
    style->drawControl(QStyle::CE_ItemViewItem, &row, painter, view_);

    const QString line = index.data(RecordsTableModel::LineRole).toString();
    QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &row, view_);
    textRect.setLeft(rowLeft + textMargin()); // where a list starts its text
    painter->setFont(option.font);
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);

    // The current row's focus frame, over the text as a list draws it.
    if (view_->hasFocus() && index.row() == view_->currentIndex().row()) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(row);
        focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &row, view_);
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item | QStyle::State_HasFocus;
        const QPalette::ColorGroup enabled = row.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        focus.backgroundColor = row.palette.color(enabled, selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, view_);
    }
    painter->restore();
}
