#include "startup/shortcut_writer.h"

#include <shlobj.h>

#include "base/limits.h"
#include "base/system_dlls.h"
#include "base/text.h"
#include "startup/shell_link_ids.h"

HRESULT CreateStartupShortcut(const char* shortcutPath, const char* targetPath,
                              const char* workingDirectory, const char* arguments,
                              int showCommand, const char* description,
                              const char* iconPath, int iconIndex) {
  IShellLinkA* link = NULL;
  IPersistFile* file = NULL;
  WCHAR widePath[kPathSize];

  HRESULT result = systemDlls.CoCreateInstance(kShellLinkClass, NULL, CLSCTX_INPROC_SERVER, kShellLinkA,
                                    reinterpret_cast<void**>(&link));
  if (SUCCEEDED(result)) {
    result = link->QueryInterface(kPersistFile, reinterpret_cast<void**>(&file));
  }
  if (SUCCEEDED(result)) {
    // The setters' results are not looked at: the save reports what matters.
    link->SetPath(targetPath);
    link->SetDescription(description);
    link->SetArguments(arguments);
    link->SetWorkingDirectory(workingDirectory);
    link->SetIconLocation(iconPath, iconIndex);
    link->SetShowCmd(showCommand);
    if (!WidenPath(shortcutPath, widePath, kPathSize)) {
      result = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    } else {
      result = file->Save(widePath, TRUE);
    }
  }

  if (file != NULL) file->Release();
  if (link != NULL) link->Release();
  return result;
}
