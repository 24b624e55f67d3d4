#pragma once

#include "history/ServerAddress.h"

#include <optional>

// Sets up the application (name, version, French texts of the toolkit, icon, style), then
// runs the game with the real services until it ends, its history kept on `server` too
// when a classroom has one.
int runClavimo(int argc, char *argv[], const std::optional<ServerAddress> &server);
