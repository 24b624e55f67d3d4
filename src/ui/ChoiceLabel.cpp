#include "ui/ChoiceLabel.h"

#include <QComboBox>
#include <QLabel>

void labelWithChoice(QLabel *label, QComboBox *box)
{
    label->setBuddy(box);
    auto name = [label, box] {
        // The caption without its shortcut mark: "&Joueur :" is said "Joueur :".
        label->setAccessibleName(QString(label->text()).remove(QLatin1Char('&')) + QLatin1Char(' ')
                                 + box->currentText());
    };
    name();
    QObject::connect(box, &QComboBox::currentTextChanged, label, name);
}
