#pragma once

namespace korvane::app {

// Creates the service objects (client first, reply document second) and the message
// window's mask rectangle.
void CreateGlobals();

// Releases every global that is set, in a fixed order; a second run finds nothing to do.
void ExitCleanup();

// Makes ExitCleanup the program's end-of-run routine. Only the first call registers it, so
// it runs exactly once however the program ends; returns whether this call registered it.
bool RegisterExitCleanup();

// The program: globals, end-of-run routine, the login window, the event loop; exit code 0.
int Startup(int argc, char** argv);

}  // namespace korvane::app
