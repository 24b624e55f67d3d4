#pragma once

// Sets up the application (name, version, French texts of the toolkit, icon, style), then
// runs the game with the real services until it ends.
int runClavimo(int argc, char *argv[]);
