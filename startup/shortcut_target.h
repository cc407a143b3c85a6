// Reads which program a shortcut file starts.
#pragma once

#include <windows.h>

#include "base/text.h"

// Loads the shortcut at shortcutPath into the shell's link object and writes
// its target into target (size bytes), with %ProgramFiles% and the like
// expanded as the shell expands them at logon. The shortcut is not resolved:
// that may search the disk or show a window. The target's name is converted
// exactly (NarrowExactly); a shortcut that cannot be read, or names no file,
// gives the empty string. COM must be initialised on the calling thread, and
// the system DLLs bound (BindSystemDlls).
NarrowResult ReadShortcutTarget(const char* shortcutPath, char* target, int size);

// The program the shortcut at shortcutPath starts at logon, into program
// (size bytes): its target read exactly, and under WoW64 a target in the
// 32-bit Program Files that is not there taken from the 64-bit one, which is
// what the 64-bit shell starts. Empty where it names none the code page
// holds. The same conditions as ReadShortcutTarget.
void ReadStartedProgram(const char* shortcutPath, char* program, int size);
