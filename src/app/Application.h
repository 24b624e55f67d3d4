#pragma once

// Sets up the application (name, version, French texts of the toolkit, icon), shows the
// start-up window and runs the event loop.
int runClavimo(int argc, char *argv[]);
