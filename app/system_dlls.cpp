#include "app/system_dlls.h"

#include "app/platform_version.h"
#include "app/text.h"

SystemDlls systemDlls;
// Each function is bound by copying a FARPROC into its slot.
static_assert(sizeof(SystemDlls) == 10 * sizeof(FARPROC), "ten slots of a function pointer's size");

// LOAD_LIBRARY_SEARCH_SYSTEM32, which this program's headers (aimed at
// Windows XP) do not define.
const DWORD kSearchSystem32 = 0x800;

// 1 once SetDefaultDllDirectories has taken: Windows 8 and later, or 7 with
// its security update. Those also take kSearchSystem32 in LoadLibraryEx.
static int searchLocked = 0;

typedef BOOL(WINAPI* SetDefaultDllDirectoriesFunction)(DWORD);
typedef BOOL(WINAPI* SetDllDirectoryFunction)(LPCSTR);

void LockDllSearch() {
  // Looked up, not imported: older systems lack both, and a missing import
  // would stop the program from starting there at all.
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  FARPROC found = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : NULL;
  if (found) {
    SetDefaultDllDirectoriesFunction setDefault = NULL;
    CopyMemory(&setDefault, &found, sizeof found);
    searchLocked = setDefault(kSearchSystem32) ? 1 : 0;
    if (searchLocked) return;
  }
  // XP SP1 to Vista: at least the current directory leaves the search. The
  // 9x family has neither; there the full paths below are all there is.
  found = kernel ? GetProcAddress(kernel, "SetDllDirectoryA") : NULL;
  if (found) {
    SetDllDirectoryFunction setDirectory = NULL;
    CopyMemory(&setDirectory, &found, sizeof found);
    setDirectory("");
  }
}

static HMODULE LoadSystemDll(const char* dll) {
  if (searchLocked) return LoadLibraryExA(dll, NULL, kSearchSystem32);
  char path[MAX_PATH];
  UINT length = GetSystemDirectoryA(path, sizeof path);
  if (length == 0 || length >= sizeof path) return NULL;
  if (!AppendText(path, sizeof path, "\\") || !AppendText(path, sizeof path, dll)) return NULL;
  return LoadLibraryA(path);
}

FARPROC SystemFunction(const char* dll, const char* name) {
  // A DLL already loaded is only counted up again; nothing is ever unloaded.
  HMODULE module = LoadSystemDll(dll);
  return module ? GetProcAddress(module, name) : NULL;
}

int BindSystemDlls(char* missing, size_t size) {
  static int bound = 0;
  struct Binding {
    const char* dll;
    const char* name;
    void* slot;
    int wide;  // only on the NT family
  };
  const Binding kBindings[] = {
      {"comdlg32.dll", "GetOpenFileNameA", &systemDlls.GetOpenFileNameA, 0},
      {"comdlg32.dll", "GetOpenFileNameW", &systemDlls.GetOpenFileNameW, 1},
      {"comdlg32.dll", "CommDlgExtendedError", &systemDlls.CommDlgExtendedError, 0},
      {"shell32.dll", "SHGetMalloc", &systemDlls.SHGetMalloc, 0},
      {"shell32.dll", "SHGetSpecialFolderLocation", &systemDlls.SHGetSpecialFolderLocation, 0},
      {"shell32.dll", "SHGetPathFromIDListA", &systemDlls.SHGetPathFromIDListA, 0},
      {"shell32.dll", "SHGetPathFromIDListW", &systemDlls.SHGetPathFromIDListW, 1},
      {"ole32.dll", "CoInitialize", &systemDlls.CoInitialize, 0},
      {"ole32.dll", "CoUninitialize", &systemDlls.CoUninitialize, 0},
      {"ole32.dll", "CoCreateInstance", &systemDlls.CoCreateInstance, 0},
  };
  if (size > 0) missing[0] = '\0';
  if (bound) return 1;
  int nineX = RunningOnWindows9x();
  for (const Binding& binding : kBindings) {
    if (binding.wide && nineX) continue;
    FARPROC found = SystemFunction(binding.dll, binding.name);
    if (found == NULL) {
      CopyText(missing, size, binding.dll);
      AppendText(missing, size, " の ");
      AppendText(missing, size, binding.name);
      return 0;
    }
    // Every slot is a function pointer of FARPROC's size.
    CopyMemory(binding.slot, &found, sizeof found);
  }
  bound = 1;
  return 1;
}
