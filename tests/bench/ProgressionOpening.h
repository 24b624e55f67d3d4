#pragma once

#include "game/HistoryReader.h"
#include "game/KeyboardLayouts.h"
#include "platform/MessageBoxes.h"
#include "support/BenchPrint.h"
#include "support/TestDoubles.h"
#include "ui/ProgressionWindow.h"
#include "ui/XkbKeyboards.h"

#include <QTest>

// Times the opening of the progression window over a history, as a player opens it with
// F5: built, shown and painted once, three times over. False when it never shows.
inline bool timeProgressionOpening(HistoryReader &history, MessageBoxes &boxes, const QString &player, int mode,
                                   const char *what)
{
    XkbKeyboards keyboards;
    GivenKeyboardNames serverKeyboard;
    RememberedLayout memory;
    KeyboardLayouts layouts(keyboards, serverKeyboard, memory);
    ScriptedWallClock clock;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer open;
        open.start();
        ProgressionWindow window(history, boxes, layouts, clock, player, mode);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        window.grab(); // paints the chart and the keyboard
        print("opening the progression window%s (%s): %.1f ms\n", what, i == 0 ? "first" : "again", msSince(open));
    }
    return true;
}
