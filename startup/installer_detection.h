// Windows' installer detection: where the policy "Detect application
// installations and prompt for elevation" is on (by default on home and
// professional editions), Windows elevates a 32-bit program that states no
// run level but looks like an installer, and so skips it at logon.
#pragma once

#include <windows.h>

// 1 when Windows takes the program at path for an installer: the policy is
// on, machine (ProgramMachine) is i386, level (ManifestRunLevel) is
// unspecified, and its file name, not its folders, holds "install", "setup"
// or "update" in any ASCII case. Windows' other signs (keywords of the
// version record, byte sequences of known installers) are not documented
// exactly, so only the name is judged.
int TakenForInstaller(const char* path, WORD machine, ACTCTX_REQUESTED_RUN_LEVEL level);
