// Whether a program asks to run elevated, by its manifest. Windows starts no
// program from the Startup folder at logon that would need elevation: it
// skips it without a word.
#pragma once

#include <windows.h>

// The run level the manifest (resource 1) of the program at path asks for,
// read by Windows' own reader, as the elevation service reads it: for the
// program's own machine (ProgramMachine), with comments, namespace prefixes
// and UTF-16 as Windows takes them, and none of the program's code run.
// ACTCTX_RUN_LEVEL_UNSPECIFIED for no manifest, one without a run level, or
// one Windows rejects.
ACTCTX_REQUESTED_RUN_LEVEL ManifestRunLevel(const char* path, WORD machine);

// 1 when a program asking for level runs as administrator at logon:
// requireAdministrator, or highestAvailable for an administrator under UAC.
int RunLevelElevates(ACTCTX_REQUESTED_RUN_LEVEL level);
