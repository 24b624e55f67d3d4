#pragma once

#include <QString>

class MessageBoxes;

// What the player is told when a file of the working folder lets the program down.

// A record or settings file could not be opened or created: the program cannot keep its
// records, so it says why before it ends.
void reportOpenProblem(MessageBoxes &boxes, const QString &fileName, const QString &reason);

// A record could not be written: the game goes on, but the player must know that the
// record was not kept.
void reportWriteProblem(MessageBoxes &boxes, const QString &fileName, const QString &reason);
