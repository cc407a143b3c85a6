// Whether Windows has switched a logon entry off. Task Manager (and Settings
// > Apps > Startup) does it by the entry's name, in a value that outlives the
// entry: the same name registered again stays off.
#pragma once

#include <windows.h>

#include "base/limits.h"

// 1 when the entry name is switched off in the list (StartupFolder, Run or
// Run32) of StartupApproved under root, in the registry view view
// (KEY_WOW64_64KEY or 0): a binary value of that name whose first byte is
// odd. No value, or one that cannot be read, means on. Reads only. The name
// is wide: an entry's name need not be one the code page holds.
int SwitchedOff(HKEY root, REGSAM view, const char* list, const WCHAR* name);

// The same for the shortcut fileName (名前.lnk) of scope's Startup folder:
// per user, or for all users in the 64-bit view, where Explorer reads it.
int SwitchedOffInWindows(StartupScope scope, const WCHAR* fileName);
