// Register a program: choose it, name it, write its shortcut into the
// Startup folder of the current scope, and report.
#pragma once

#include <windows.h>

// Opens the program chooser in appState.initialFolder. After a pick the
// program can hold, the folder of the picked program becomes the next initial
// folder and the result is nonzero; a cancel, or a path that was refused with
// a warning, gives 0 and leaves the folder as it was.
int ChooseProgram(HWND owner);

// The whole flow, owned by owner. Returns 1 when it reached its end (the
// shortcut written or its failure reported), 0 when it stopped early.
int RegisterProgram(HWND owner);
