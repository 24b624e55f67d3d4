#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn in code in the sixteen colours of the classic PC palette,
// so that the program ships no image files.

// The start-up window's splash picture, 243 x 182.
QPixmap splashPicture();

// The program icon: the red name "CLAVIMO" between red rules on black. size is 16, 32
// or 64; any other size gives the 32 x 32 picture.
QPixmap programIconPixmap(int size = 32);
QIcon programIcon();

// 32 x 32 decorations: two players side by side for the player list, a chequered flag for
// the hand-over to the next player.
QPixmap playersIcon();
QPixmap handOverIcon();
