#pragma once

class QComboBox;
class QLabel;

// Gives the label of a combo box, for screen readers, the box's current choice as well:
// "Joueur : Paul", kept up to date. Screen readers say a focused combo box by its label,
// and Qt on Linux gives the choice only as the box's own name, which they then leave out
// ("Joueur : combo box"). The label on the screen keeps its caption.
void labelWithChoice(QLabel *label, QComboBox *box);
