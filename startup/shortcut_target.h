// Reads which program a shortcut file starts.
#pragma once

#include <windows.h>

#include "base/text.h"

// How reading a shortcut's target went.
enum TargetRead {
  kTargetRead,       // read: the target, or the empty string where it names no file
  kTargetNotExact,   // read, but its name holds a character the code page cannot hold
  kTargetTooLong,    // read, but longer than the buffer
  kShortcutNotRead,  // the shortcut could not be read at all
};

// Loads the shortcut at shortcutPath into the shell's link object and writes
// its target into target (size bytes), with %ProgramFiles% and the like
// expanded as the shell expands them at logon. The shortcut is not resolved:
// that may search the disk or show a window. The target's name is converted
// exactly (NarrowExactly); target is empty unless kTargetRead. *why (may be
// null) gets the failing step's HRESULT for kShortcutNotRead. Where
// arguments is not null, it gets the arguments the shortcut stores
// (argumentsSize units; empty where none or not read). COM must be
// initialised on the calling thread, and the system DLLs bound
// (BindSystemDlls).
TargetRead ReadShortcutTarget(const char* shortcutPath, char* target, int size, HRESULT* why,
                              WCHAR* arguments = NULL, int argumentsSize = 0);

// The same for a shortcut named in UTF-16, whose name the code page need not
// hold.
TargetRead ReadShortcutTargetW(const WCHAR* shortcutPath, char* target, int size, HRESULT* why, WCHAR* arguments,
                               int argumentsSize);

// The program the shortcut at shortcutPath starts at logon, into program
// (size bytes): its target read exactly, and under WoW64 a target in the
// 32-bit Program Files that is not there taken from the 64-bit one, which is
// what the 64-bit shell starts. Empty where it names none the code page
// holds; its arguments as ReadShortcutTarget gives them. The same conditions
// as ReadShortcutTarget.
void ReadStartedProgram(const WCHAR* shortcutPath, char* program, int size, WCHAR* arguments, int argumentsSize);
