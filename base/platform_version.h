// The Windows 9x rule: that family offers only the per-user Startup folder.
#pragma once

#include <windows.h>

// 1 when a successful version query reports the Windows 9x family.
int IsWindows9xFamily(BOOL queried, const OSVERSIONINFOA* version);

// Queries the running platform and applies IsWindows9xFamily.
int RunningOnWindows9x();

// 1 for a 32-bit process on 64-bit Windows (WoW64): it sees a 32-bit view of
// the registry and of Program Files. IsWow64Process is looked up: Windows
// before XP SP2 lacks it, and runs no 64-bit code either.
int RunningUnderWow64();
