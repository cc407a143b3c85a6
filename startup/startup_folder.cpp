#include "startup/startup_folder.h"

#include "base/system_dlls.h"
#include "base/text.h"

// The path is read wide and converted exactly: the ANSI call gives a
// look-alike for a folder the code page cannot hold.
static StartupFolderResult ReadFolderPath(LPCITEMIDLIST list, char* path) {
  WCHAR wide[MAX_PATH];
  // Fails for a folder without a file-system path.
  if (!systemDlls.SHGetPathFromIDListW(list, wide)) return kFolderNotFound;
  switch (NarrowExactly(GetACP(), wide, path, kPathSize)) {
    case kNarrowedExactly:
      return kFolderFound;
    case kNotExact:
      return kFolderNotExact;
    default:
      return kFolderNotFound;
  }
}

StartupFolderResult GetStartupFolderPath(HWND owner, char* path, StartupScope scope) {
  IMalloc* allocator = NULL;
  LPITEMIDLIST list = NULL;
  StartupFolderResult found = kFolderNotFound;

  if (systemDlls.SHGetMalloc(&allocator) == S_OK) {
    if (systemDlls.SHGetSpecialFolderLocation(owner, static_cast<int>(scope), &list) == S_OK) {
      found = ReadFolderPath(list, path);
      allocator->Free(list);
    }
    allocator->Release();
  }
  return found;
}
