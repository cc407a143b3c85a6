// The 64-bit Program Files folder behind a path in the 32-bit one. On 64-bit
// Windows a 32-bit program that reads a shortcut made by 64-bit code is told
// C:\Program Files (x86)\... for C:\Program Files\...: the link keeps
// %ProgramFiles% and Windows expands it for the reader ("How can I get the
// original target of a shortcut without applying any 32-bit adjustments?",
// The Old New Thing, 2023-02-08). Its file chooser dereferences a picked
// shortcut the same way.
#pragma once

#include <stddef.h>

// Under WoW64 only: when no file is at path and path lies in the 32-bit
// Program Files folder (ProgramFiles(x86)) or its Common Files folder
// (CommonProgramFiles(x86)), writes the same path below the 64-bit one
// (ProgramW6432, CommonProgramW6432) into out (size bytes) and returns 1,
// provided a file is there. Returns 0 otherwise, out then empty.
int ProgramFilesCounterpart(const char* path, char* out, size_t size);
