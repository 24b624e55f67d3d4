#pragma once

#include "history/RoomCommand.h"
#include "history/ServerAddress.h"

#include <QString>

#include <functional>
#include <optional>

// Erases every game of one player, when a school is asked to: from the classroom's server
// when one is given (connected as the role that owns the tables), otherwise from the
// history file at `file`. The games are counted first, and erased only when `confirm`,
// asked a French question naming the player and the number of games, says yes; then all
// in one transaction. Names are compared as the game compares them. The record files are
// not touched. Exit code 0 (erased, or nothing to erase), 1 when not confirmed, 2 with the
// reason in French when the history cannot be used.
RoomCommandResult erasePlayer(const std::optional<ServerAddress> &server, const QString &file, const QString &player,
                              const std::function<bool(const QString &question)> &confirm);
