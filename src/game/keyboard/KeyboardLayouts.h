#pragma once

#include "game/keyboard/Keyboard.h"

#include <QByteArray>
#include <QList>
#include <QString>

class KeyboardSource;
class LayoutMemory;
class ServerKeyboardNames;

// The keyboard layouts the progression map offers, which one it starts on, and the
// keyboard of each, from the system's keyboard data.
class KeyboardLayouts
{
public:
    struct Offered
    {
        QString layout; // rules name: "fr", "fr(bepo)"...
        QString title;  // as the window offers it: "AZERTY (France)"
    };
    static const QString kDefault; // "fr"

    KeyboardLayouts(KeyboardSource &source, ServerKeyboardNames &server, LayoutMemory &memory);

    // Every layout offered, the French one first.
    static const QList<Offered> &offered();
    // The offered layout of the X server's `_XKB_RULES_NAMES` bytes (its first layout and
    // variant); empty when the bytes name none of them.
    static QString fromRulesNames(const QByteArray &names);

    // The layout the map starts on: the X server's when it names one offered, otherwise
    // the last one chosen, otherwise the French AZERTY.
    QString startLayout();
    // The player chose a layout in the window: kept for the next time.
    void choose(const QString &layout);
    // The keyboard of a layout; the French AZERTY when the system cannot make that one,
    // and when it cannot make that either, the keys with nothing on them (layout empty).
    Keyboard keyboard(const QString &layout);

private:
    KeyboardSource &source_;
    ServerKeyboardNames &server_;
    LayoutMemory &memory_;
};
