// Whether a program asks to run elevated. Windows starts no program from the
// Startup folder at logon that would need elevation: it skips it without a
// word.
#pragma once

#include <stddef.h>

// The execution level a manifest asks for, read from text (size bytes, not
// zero-terminated): its requestedExecutionLevel's level attribute.
enum ExecutionLevel { kAsInvoker, kHighestAvailable, kRequireAdministrator };
ExecutionLevel ManifestExecutionLevel(const char* text, size_t size);

// 1 when the program at path asks to run as administrator at logon:
// requireAdministrator, or highestAvailable for an administrator under UAC.
// The program's manifest is read from the file as data: none of its code
// runs and none of its DLLs load. A missing, short or malformed manifest
// asks for nothing.
int AsksToRunAsAdministrator(const char* path);
