#include "base/run_time_binding.h"

#include "base/text.h"

// 1 once SetDefaultDllDirectories has taken: Windows 8 and later, or 7 with
// its security update (KB2533623). Those also take
// LOAD_LIBRARY_SEARCH_SYSTEM32 in LoadLibraryEx.
static int searchLocked = 0;

HMODULE KernelModule() { return GetModuleHandleA("kernel32.dll"); }

void LockDllSearch() {
  decltype(&::SetDefaultDllDirectories) setDefaultDirectories = NULL;
  if (BindFunction(KernelModule(), "SetDefaultDllDirectories", &setDefaultDirectories)) {
    searchLocked = setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) ? 1 : 0;
    if (searchLocked) return;
  }
  // Windows 7 without that update: at least the current directory leaves
  // the search; the full paths below keep the program's folder out.
  decltype(&::SetDllDirectoryA) setDirectory = NULL;
  if (BindFunction(KernelModule(), "SetDllDirectoryA", &setDirectory)) setDirectory("");
}

HMODULE LoadSystemDll(const char* dll) {
  if (searchLocked) return LoadLibraryExA(dll, NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
  char path[MAX_PATH];
  UINT length = GetSystemDirectoryA(path, sizeof path);
  if (length == 0 || length >= sizeof path) return NULL;
  if (!AppendText(path, sizeof path, "\\") || !AppendText(path, sizeof path, dll)) return NULL;
  // By full path, the DLL's own imports are looked for in its folder first,
  // not in the program's.
  return LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}
