#include "base/run_time_binding.h"

#include "base/text.h"

// LOAD_LIBRARY_SEARCH_SYSTEM32, which this program's headers (aimed at
// Windows XP) do not define.
const DWORD kSearchSystem32 = 0x800;

// 1 once SetDefaultDllDirectories has taken: Windows 8 and later, or 7 with
// its security update. Those also take kSearchSystem32 in LoadLibraryEx.
static int searchLocked = 0;

HMODULE KernelModule() { return GetModuleHandleA("kernel32.dll"); }

void LockDllSearch() {
  BOOL(WINAPI * setDefaultDirectories)(DWORD) = NULL;
  BOOL(WINAPI * setDirectory)(LPCSTR) = NULL;
  if (BindFunction(KernelModule(), "SetDefaultDllDirectories", &setDefaultDirectories)) {
    searchLocked = setDefaultDirectories(kSearchSystem32) ? 1 : 0;
    if (searchLocked) return;
  }
  // XP SP1 to Vista: at least the current directory leaves the search. The
  // 9x family has neither; there the full paths below are all there is.
  if (BindFunction(KernelModule(), "SetDllDirectoryA", &setDirectory)) setDirectory("");
}

HMODULE LoadSystemDll(const char* dll) {
  if (searchLocked) return LoadLibraryExA(dll, NULL, kSearchSystem32);
  char path[MAX_PATH];
  UINT length = GetSystemDirectoryA(path, sizeof path);
  if (length == 0 || length >= sizeof path) return NULL;
  if (!AppendText(path, sizeof path, "\\") || !AppendText(path, sizeof path, dll)) return NULL;
  // By full path, the DLL's own imports are looked for in its folder first,
  // not in the program's.
  return LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}
