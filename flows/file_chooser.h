// The platform's file chooser as both flows run it: with room for any path
// Windows allows, and never handing on a path the program could not hold.
#pragma once

#include <windows.h>

// What differs between the program chooser and the shortcut chooser.
struct ChooserSettings {
  const char* filter;            // pairs of zero-terminated strings, ended by an empty one
  const char* initialFolder;
  const char* title;
  DWORD flags;
  const char* defaultExtension;
  const char* pathTooLong;       // the warning for a path over the program's limit
  const char* nameNotExact;      // the warning for a name the ANSI code page cannot hold
};

// Clears appState.chosenPath and chosenFileTitle and runs the chooser owned
// by owner. A picked path within the 259-byte limit is stored there and gives
// 1. A cancel gives 0 without a word; a path over the limit, a name with a
// character the ANSI code page cannot hold (it would come back as another
// name) or a failing chooser gives 0 after a warning. chosenPath is empty
// whenever it gives 0. The system DLLs must be bound (BindSystemDlls).
int RunFileChooser(HWND owner, const ChooserSettings& settings);

// The warning for a chooser that returned 0 with this extended error (never
// 0, a cancel): pathTooLong for FNERR_BUFFERTOOSMALL, else the generic text
// with the error's number.
void ChooserFailureText(DWORD error, const char* pathTooLong, char* out, size_t size);
