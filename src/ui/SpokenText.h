#pragma once

#include <QString>

// What a screen reader says for the figures the windows show: whole French sentences where
// the screen shows bare numbers and padded captions. The screen keeps its own text.
namespace SpokenText {

// "Lettre : K" in the one-letter mode, "Mot : maison" in the six-letter mode.
QString item(const QString &item, int mode);
// "Temps : 812 millisecondes".
QString itemTime(qint64 ms);
// What follows a game: "Partie terminée. Touche F2 pour une nouvelle partie." with one
// player; with several, whose turn it is and the space bar that starts their game.
QString gameOver(const QString &nextPlayer);
// "Élément 20 sur 20".
QString itemNumber(int number, int count);
// A score caption of the main window ("Léa  Mini :   343", "Moyenne :  9999", "Mini")
// read as a sentence under its title: "Record absolu Mini : Léa, 343 millisecondes",
// "Record personnel Moyenne : pas encore de record".
QString score(const QString &title, const QString &caption);
// A lesson's item spelt out, so that a group that is no word is heard letter by letter:
// "Élément 3 sur 20 : F, J, D".
QString lessonItem(const QString &item, int number, int count);
// "Touche K : 12 erreurs sur 40, 30,0 %", "Touche K : jamais demandée".
QString key(const QString &label, qint64 wrong, qint64 expected);

} // namespace SpokenText
