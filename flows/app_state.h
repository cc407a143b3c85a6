// The one process-wide record through which the entry, the main window, the
// flows and the title dialog hand data to each other. It lives, zero-filled,
// from before the entry runs until the process ends; only the GUI thread
// touches it.
#pragma once

#include <windows.h>

#include <type_traits>

#include "base/limits.h"

struct AppState {
  char initialFolder[kPathSize];    // where the program chooser opens
  HWND mainWindow;
  char arguments[kFieldSize];       // arguments of the next shortcut
  char title[kFieldSize];           // title of the next shortcut; empty means stop
  StartupScope scope;               // 0 until the main window exists, then 7 or 24
  char chosenFileTitle[kPathSize];  // the chooser's name-only result, unused
  char chosenPath[kPathSize];       // full path picked in the last chooser
  char startupFolder[kPathSize];    // the registration's Startup folder, found before its title dialog
  HWND titleDialog;                 // non-null exactly while the title dialog exists
  BYTE titleDialogPainted;          // 1 once the open title dialog has painted
  BYTE flowRunning;                 // 1 while a registration or a removal runs
  BYTE highContrast;                // 1 while a contrast theme runs
};

extern AppState appState;
// The program starts at its own entry, without the C runtime's start-up code,
// so no constructor of a global ever runs: every global must be constant-
// initialised, as this record is (zero-filled before the entry).
static_assert(std::is_trivial<AppState>::value, "the state record needs no constructor");

// The caption of both windows and of every message box but the exit question.
extern const char kCaption[];
