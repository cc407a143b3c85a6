// Turns a Startup scope into the folder's path through the shell.
#pragma once

#include <windows.h>

#include "base/limits.h"

enum StartupFolderResult {
  kFolderNotFound = 0,
  kFolderFound = 1,
  // The folder's path holds a character the process's code page cannot hold
  // (a folder moved to C:\...\Starté on a Japanese system). The ANSI call
  // would give a look-alike (Starte) that may be another folder.
  kFolderNotExact = 2,
};

// Writes the folder of scope (7 per-user, 24 all users) into path, a buffer
// of kPathSize bytes, without a trailing backslash. Returns kFolderFound, or
// another result (then path holds nothing to rely on); a path longer than the
// buffer counts as not found. Shows no message. The system DLLs must be bound
// (BindSystemDlls).
StartupFolderResult GetStartupFolderPath(HWND owner, char* path, StartupScope scope);
