#include "ui/TypingField.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

TypingField::TypingField(QWidget *parent)
    : QLabel(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::Box);
}

void TypingField::showText(const QString &text)
{
    setText(text);
    setAccessibleName(text);
}

QVariant TypingField::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled)
        return true;
    return QLabel::inputMethodQuery(query);
}

void TypingField::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab
        || text.isEmpty()) {
        QLabel::keyPressEvent(event);
        return;
    }
    for (QChar c : text)
        emit typed(c);
    event->accept();
}

void TypingField::inputMethodEvent(QInputMethodEvent *event)
{
    for (QChar c : event->commitString())
        emit typed(c);
    event->accept();
}

// The frame is thick while the field has the focus, so that the player sees where the
// keys go without relying on colour.
void TypingField::focusInEvent(QFocusEvent *event)
{
    setLineWidth(3);
    QLabel::focusInEvent(event);
}

void TypingField::focusOutEvent(QFocusEvent *event)
{
    setLineWidth(1);
    QLabel::focusOutEvent(event);
}
