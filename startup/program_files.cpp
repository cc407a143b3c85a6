#include "startup/program_files.h"

#include <windows.h>

#include "base/is_file.h"
#include "base/limits.h"
#include "base/path_text.h"
#include "base/platform_version.h"
#include "base/text.h"

// A folder the environment names, converted exactly; empty where it is not
// set or the code page cannot hold it.
static void FolderOf(const WCHAR* variable, char* folder, int size) {
  WCHAR wide[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(variable, wide, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || NarrowExactly(GetACP(), wide, folder, size) != kNarrowedExactly) folder[0] = '\0';
}

int ProgramFilesCounterpart(const char* path, char* out, size_t size) {
  static const WCHAR kFolders[][2][24] = {{L"ProgramFiles(x86)", L"ProgramW6432"},
                                             {L"CommonProgramFiles(x86)", L"CommonProgramW6432"}};
  if (size == 0) return 0;
  out[0] = '\0';
  if (!RunningUnderWow64()) return 0;
  for (const auto& folders : kFolders) {
    char folder32[kPathSize];
    char folder64[kPathSize];
    FolderOf(folders[0], folder32, sizeof folder32);
    FolderOf(folders[1], folder64, sizeof folder64);
    const char* rest = folder32[0] != '\0' ? PathBelowFolder(path, folder32) : NULL;
    // The disk is asked only below the 32-bit folder: any other target may
    // lie on a network that is not there.
    if (rest == NULL || folder64[0] == '\0' || IsFile(path)) continue;
    if (CopyText(out, size, folder64) && AppendText(out, size, rest) && IsFile(out)) return 1;
    out[0] = '\0';
  }
  return 0;
}
