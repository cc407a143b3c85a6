#include "base/system_dlls.h"

#include "base/run_time_binding.h"
#include "base/text.h"

SystemDlls systemDlls;

int BindSystemDlls(char* missing, size_t size) {
  static int bound = 0;
  struct Binding {
    const char* dll;
    const char* name;
    size_t slot;  // where in systemDlls
  };
  static const Binding kBindings[] = {
      {"comdlg32.dll", "GetOpenFileNameW", offsetof(SystemDlls, GetOpenFileNameW)},
      {"comdlg32.dll", "CommDlgExtendedError", offsetof(SystemDlls, CommDlgExtendedError)},
      {"shell32.dll", "SHGetMalloc", offsetof(SystemDlls, SHGetMalloc)},
      {"shell32.dll", "SHGetSpecialFolderLocation", offsetof(SystemDlls, SHGetSpecialFolderLocation)},
      {"shell32.dll", "SHGetPathFromIDListW", offsetof(SystemDlls, SHGetPathFromIDListW)},
      {"ole32.dll", "CoInitialize", offsetof(SystemDlls, CoInitialize)},
      {"ole32.dll", "CoUninitialize", offsetof(SystemDlls, CoUninitialize)},
      {"ole32.dll", "CoCreateInstance", offsetof(SystemDlls, CoCreateInstance)},
  };
  // A function added to the record needs its row here.
  static_assert(sizeof(SystemDlls) == ARRAYSIZE(kBindings) * sizeof(FARPROC), "one row for every slot");
  if (size > 0) missing[0] = '\0';
  if (bound) return 1;
  for (const Binding& binding : kBindings) {
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
