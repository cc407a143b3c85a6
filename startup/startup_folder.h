// Turns a Startup scope into the folder's path through the shell.
#pragma once

#include <windows.h>

#include "app/app_state.h"

// Writes the folder of scope (7 per-user, 24 all users) into path, a buffer
// of kPathSize bytes, without a trailing backslash. Returns 1 on success and
// 0 on failure (then path holds nothing to rely on). Shows no message.
// The system DLLs must be bound (BindSystemDlls).
int GetStartupFolderPath(HWND owner, char* path, StartupScope scope);
