#include "game/session/FileProblems.h"

#include "platform/Services.h"

void reportOpenProblem(MessageBoxes &boxes, const QString &fileName, const QString &reason)
{
    boxes.show(QStringLiteral("Le fichier «\u00A0%1\u00A0» ne peut être ni ouvert ni créé dans le dossier de travail "
                              "(%2).\nClavimo doit s'arrêter.")
                   .arg(fileName, reason),
               QStringLiteral("Clavimo"), BoxButtons::Ok, BoxIcon::Stop);
}

void reportWriteProblem(MessageBoxes &boxes, const QString &fileName, const QString &reason)
{
    boxes.show(QStringLiteral("Le fichier «\u00A0%1\u00A0» n'a pas pu être écrit (%2)\u00A0: ce record n'est pas "
                              "enregistré.")
                   .arg(fileName, reason),
               QStringLiteral("Clavimo"), BoxButtons::Ok, BoxIcon::Exclamation);
}
