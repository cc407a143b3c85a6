// The messages the flows show when something goes wrong. Each names what
// failed and, where the platform says why, gives the platform's own words.
#pragma once

#include <windows.h>

#include "flows/app_state.h"

extern const char kTitleTooLong[];
extern const char kProgramPathTooLong[];
extern const char kShortcutPathTooLong[];
extern const char kProgramNameNotExact[];
extern const char kShortcutNameNotExact[];
extern const char kNotChosen[];

// Shows a warning with text, owned by owner, captioned "Tomavel".
void ShowWarning(HWND owner, const char* text);

// The shortcut could not be written: our sentence, a blank line, the system's
// text for result, and for access denied in the all-users folder (allUsers 1)
// what to do: start Tomavel again as administrator.
void ShowShortcutNotWritten(HWND owner, HRESULT result, int allUsers);

// The picked shortcut could not be read (or COM not started to read it): our
// sentence, a blank line, the system's text for result.
void ShowShortcutNotRead(HWND owner, HRESULT result);

// The file of the given stem could not be deleted: our sentence, a blank
// line, the system's text for error (GetLastError()), and for access denied
// in the all-users folder (allUsers 1: the file's folder, whatever scope is
// chosen) the same hint as above.
void ShowDeletionFailed(HWND owner, const char* stem, DWORD error, int allUsers);

// Writes the Startup folder of scope into path (kPathSize bytes). Returns 1
// when it is there; else warns that it was not found, or that its path holds
// a character the program cannot hold, and returns 0.
int StartupFolderReady(HWND owner, char* path, StartupScope scope);

// Binds the system DLLs the flows need (BindSystemDlls). Returns 1 when they
// are there; else warns, naming what is missing, and returns 0.
int SystemDllsReady(HWND owner);

// Writes the system's text for code into out without its final line break;
// a code the system has no text for is shown by its number.
void SystemErrorText(DWORD code, char* out, size_t size);
