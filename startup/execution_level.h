// Whether a program asks to run elevated. Windows starts no program from the
// Startup folder at logon that would need elevation: it skips it without a
// word.
#pragma once

// 1 when the program at path asks to run as administrator at logon:
// requireAdministrator, or highestAvailable for an administrator under UAC.
// The manifest is read by Windows' own reader, as the elevation service
// reads it: none of the program's code runs. No manifest, one Windows
// rejects, or a Windows without run levels (before Vista) asks for nothing.
int AsksToRunAsAdministrator(const char* path);
