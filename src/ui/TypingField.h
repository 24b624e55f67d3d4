#pragma once

#include <QChar>
#include <QLabel>

// The keyboard course's text to type: a label that takes the keyboard focus and hands on
// every character typed in it, composed ones (a dead key, then a letter) included, as
// `typed`. Tab and Escape keep their usual meaning in the window.
class TypingField : public QLabel
{
    Q_OBJECT

public:
    explicit TypingField(QWidget *parent = nullptr);
    // The text shown, which is also the field's name to screen readers (a label's own text
    // does not always reach them as its name).
    void showText(const QString &text);
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void typed(QChar character);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};
