#pragma once

#include "history/RoomCommand.h"
#include "history/ServerAddress.h"

#include <QString>

// Prepares a classroom's database, connected as the role that owns it: makes or migrates
// Clavimo's tables, then gives the computers' role `roomRole` exactly what the game uses
// (reading and adding games) and takes every other right from it and from PUBLIC. Running
// it again changes nothing. Exit code 0, or 2 with the reason in French: no server, a role
// that does not exist, a preparer who does not own the database, or the old set-up where
// the computers' role owns it (with the commands that move it to the owner).
RoomCommandResult prepareServer(const ServerAddress &owner, const QString &roomRole);
