// Register a program: choose it, name it, write its shortcut into the
// Startup folder of the current scope, and report.
#pragma once

#include <windows.h>

// Opens the program chooser in appState.initialFolder. After a pick, the
// folder of the picked program becomes the next initial folder. Returns
// nonzero when the user picked a file.
int ChooseProgram(HWND owner);

// The whole flow, owned by owner. Returns 1 when it reached its end (the
// shortcut written or its failure reported), 0 when it stopped early.
int RegisterProgram(HWND owner);
