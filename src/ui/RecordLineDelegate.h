#pragma once

#include <QStyledItemDelegate>

class QTableView;

// Draws a row of the records table as the single line of fixed-width text it was designed
// as: each cell shows its own stretch of the row's whole line, so that the columns exist
// for screen readers while the screen shows the line as before, whatever its width.
class RecordLineDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    RecordLineDelegate(QTableView *view);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // The height of a line, as a list of the same font gives it.
    int lineHeight() const;
    // Where the line's text starts in a row, as in a list.
    int textMargin() const;

private:
    QTableView *view_;
};
