#include "startup/startup_folder.h"

#include "app/system_dlls.h"

int GetStartupFolderPath(HWND owner, char* path, StartupScope scope) {
  IMalloc* allocator = NULL;
  LPITEMIDLIST list = NULL;
  int found = 0;

  if (systemDlls.SHGetMalloc(&allocator) == S_OK) {
    if (systemDlls.SHGetSpecialFolderLocation(owner, static_cast<int>(scope), &list) == S_OK) {
      // Fails for a folder without a file-system path.
      found = systemDlls.SHGetPathFromIDListA(list, path) ? 1 : 0;
      allocator->Free(list);
    }
    allocator->Release();
  }
  return found;
}
