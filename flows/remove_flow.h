// Remove a registration: pick a shortcut in the Startup folder of the current
// scope, confirm, delete it, and report.
#pragma once

#include <windows.h>

// Opens the shortcut chooser in the current scope's Startup folder every
// time. The chooser returns the shortcut file itself, never its target.
// Returns nonzero when the user picked a file the program can hold; when the
// folder cannot be found, or the picked path is too long, it says so and
// returns 0.
int ChooseShortcut(HWND owner);

// The whole flow, owned by owner. Always returns 0.
int RemoveShortcut(HWND owner);
