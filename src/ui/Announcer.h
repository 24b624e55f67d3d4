#pragma once

#include <QWidget>

#include <array>

class QString;

// Has screen readers speak a sentence at once, wherever the keyboard focus is and without
// moving it: the item and its time during a game, the end of a game. This is the one place
// that knows how; a Qt with its own announcement event (6.8 and later) can take its place.
//
// Qt 6.4 sends a change of name or description with a reference to the object where
// screen readers expect the new text, so they cannot speak it. What they do speak is a
// notification that appears inside a status bar: its name, bare. So this widget, never
// drawn and never focused, is a status bar to assistive technologies, and each sentence
// appears in it as a notification. The notifications take turns, so that a screen reader
// still busy with one reads its own text, not the next one's.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);

    void announce(const QString &text);

private:
    std::array<QWidget *, 4> notes_{};
    std::size_t next_ = 0;
};
