#include "startup/shortcut_writer.h"

#include <shlobj.h>

#include "base/limits.h"
#include "base/system_dlls.h"
#include "base/text.h"
#include "startup/shell_link_ids.h"

HRESULT CreateStartupShortcut(const char* shortcutPath, const char* targetPath, const char* workingDirectory,
                              const char* arguments) {
  IShellLinkA* link = NULL;
  IPersistFile* file = NULL;
  WCHAR widePath[kPathSize];

  HRESULT result = systemDlls.CoCreateInstance(kShellLinkClass, NULL, CLSCTX_INPROC_SERVER, kShellLinkA,
                                    reinterpret_cast<void**>(&link));
  if (SUCCEEDED(result)) {
    result = link->QueryInterface(kPersistFile, reinterpret_cast<void**>(&file));
  }
  // A setter that fails leaves a shortcut that is not the one asked for:
  // nothing is saved then.
  if (SUCCEEDED(result)) result = link->SetPath(targetPath);
  if (SUCCEEDED(result)) result = link->SetArguments(arguments);
  if (SUCCEEDED(result)) result = link->SetWorkingDirectory(workingDirectory);
  if (SUCCEEDED(result)) result = link->SetShowCmd(SW_SHOWNORMAL);
  if (SUCCEEDED(result)) {
    result = WidenPath(shortcutPath, widePath, kPathSize) ? file->Save(widePath, TRUE)
                                                          : HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  }

  if (file != NULL) file->Release();
  if (link != NULL) link->Release();
  return result;
}
