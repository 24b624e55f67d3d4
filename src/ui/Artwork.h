#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

// The program's pictures, drawn in code in the sixteen colours of the classic PC palette,
// so that the program ships no image files.

// The start-up window's splash picture, 243 x 182.
QPixmap splashPicture();

// The program icon: the red name "CLAVIMO" between red rules on black, or its initial
// alone at 16 x 16. size is a multiple of 16 up to 1024; any other size gives the 32 x 32
// picture.
QPixmap programIconPixmap(int size = 32);
// The sizes the window icon holds and the installation ships as image files.
QList<int> programIconSizes();
QIcon programIcon();

// 32 x 32 decorations: two players side by side for the player list, a chequered flag for
// the hand-over to the next player.
QPixmap playersIcon();
QPixmap handOverIcon();
