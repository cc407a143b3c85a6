#include "base/system_dlls.h"

#include "base/platform_version.h"
#include "base/run_time_binding.h"
#include "base/text.h"

SystemDlls systemDlls;

int BindSystemDlls(char* missing, size_t size) {
  static int bound = 0;
  struct Binding {
    const char* dll;
    const char* name;
    size_t slot;  // where in systemDlls
    int wide;     // only on the NT family
  };
  static const Binding kBindings[] = {
      {"comdlg32.dll", "GetOpenFileNameA", offsetof(SystemDlls, GetOpenFileNameA), 0},
      {"comdlg32.dll", "GetOpenFileNameW", offsetof(SystemDlls, GetOpenFileNameW), 1},
      {"comdlg32.dll", "CommDlgExtendedError", offsetof(SystemDlls, CommDlgExtendedError), 0},
      {"shell32.dll", "SHGetMalloc", offsetof(SystemDlls, SHGetMalloc), 0},
      {"shell32.dll", "SHGetSpecialFolderLocation", offsetof(SystemDlls, SHGetSpecialFolderLocation), 0},
      {"shell32.dll", "SHGetPathFromIDListA", offsetof(SystemDlls, SHGetPathFromIDListA), 0},
      {"shell32.dll", "SHGetPathFromIDListW", offsetof(SystemDlls, SHGetPathFromIDListW), 1},
      {"ole32.dll", "CoInitialize", offsetof(SystemDlls, CoInitialize), 0},
      {"ole32.dll", "CoUninitialize", offsetof(SystemDlls, CoUninitialize), 0},
      {"ole32.dll", "CoCreateInstance", offsetof(SystemDlls, CoCreateInstance), 0},
  };
  // A function added to the record needs its row here.
  static_assert(sizeof(SystemDlls) == ARRAYSIZE(kBindings) * sizeof(FARPROC), "one row for every slot");
  if (size > 0) missing[0] = '\0';
  if (bound) return 1;
  int nineX = RunningOnWindows9x();
  for (const Binding& binding : kBindings) {
    if (binding.wide && nineX) continue;
    FARPROC found = NULL;
    if (!BindFunction(LoadSystemDll(binding.dll), binding.name, &found)) {
      CopyText(missing, size, binding.dll);
      AppendText(missing, size, " の ");
      AppendText(missing, size, binding.name);
      return 0;
    }
    CopyMemory(reinterpret_cast<BYTE*>(&systemDlls) + binding.slot, &found, sizeof found);
  }
  bound = 1;
  return 1;
}
