#pragma once

#include "game/session/FinishedGame.h"
#include "game/practice/PracticePlan.h"

#include <QList>
#include <QString>

// What the main window says about a practice game: which characters it works on while it
// runs, and at its end each one's error rate in this game beside the rate before it.
namespace PracticeReport {

// "Entraînement : K W Ç", or the even draw's words when nothing stands out.
QString caption(const PracticePlan &plan);

// One line per practised character: "K : 33 % de fautes avant, 10 % dans cette partie".
// Empty when nothing was practised.
QString summary(const PracticePlan &plan, const QList<PlayedItem> &items);

// The French percentage of a rate, rounded to a whole number: "33 %".
QString percent(double rate);

} // namespace PracticeReport
