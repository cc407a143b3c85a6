// The Windows 9x rule: that family offers only the per-user Startup folder.
#pragma once

#include <windows.h>

// 1 when a successful version query reports the Windows 9x family.
int RunningOnWindows9x();

// 1 for a 32-bit process on 64-bit Windows (WoW64): it sees a 32-bit view of
// the registry and of Program Files.
int RunningUnderWow64();
