// Register a program: choose it, name it, write its shortcut into the
// Startup folder of the current scope, and report.
#pragma once

#include <windows.h>

#include "base/growing_text.h"
#include "base/limits.h"

// Opens the program chooser in appState.initialFolder. After a pick the
// program can hold, the folder of the picked program becomes the next initial
// folder and the result is nonzero; a cancel, or a path that was refused with
// a warning, gives 0 and leaves the folder as it was.
int ChooseProgram(HWND owner);

// The whole flow, owned by owner. Returns 1 when it reached its end (the
// shortcut written or its failure reported), 0 when it stopped early.
int RegisterProgram(HWND owner);

// The success message of a registration of program with arguments as the
// shortcut at shortcutPath in scope's Startup folder, in blocks: the success;
// each reason Windows will not (or may not) start the program at logon; the
// other entries that start it; the shortcut it replaced (replaced non-null:
// the program that one started, or empty where it named none). Its text is
// null where memory ran short (FreeText it either way). *warn is 1 where a
// reason or another entry makes the message a warning. COM must be
// initialised.
GrowingText RegisteredMessage(StartupScope scope, const char* shortcutPath, const char* program,
                              const char* arguments, const char* replaced, int* warn);
