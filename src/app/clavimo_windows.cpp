// The commands that show the other windows modally over the main window.
#include "app/clavimo.h"

#include "app/Clvglob.h"
#include "platform/Windows1252.h"
#include "players/fini.h"
#include "players/saisie_pre.h"
#include "records/record.h"
#include "ui/apropos.h"

#include <QLabel>


void clavimo::chgt_joueur_Click()
{
    {
        saisie_pre dialog(prenom, this);
        showModal(dialog);
    }
    if (ended_)
        return;
    ResetGame();
    prenom->setText(Windows1252::initialCapital(prenom->text()));
    FindPlayer();
}

void clavimo::scores_Click()
{
    record dialog(this);
    showModal(dialog);
}

void clavimo::a_propos_Click()
{
    apropos dialog(this);
    showModal(dialog);
}

void clavimo::showHandOver()
{
    handOverClosing_ = true;
    fini dialog;
    showModal(dialog);
}
