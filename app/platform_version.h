// The Windows 9x rule: that family offers only the per-user Startup folder.
#pragma once

#include <windows.h>

// 1 when a successful version query reports the Windows 9x family.
int IsWindows9xFamily(BOOL queried, const OSVERSIONINFOA* version);

// Queries the running platform and applies IsWindows9xFamily.
int RunningOnWindows9x();
