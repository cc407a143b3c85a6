#include "flows/file_chooser.h"

#include <cderr.h>
#include <commdlg.h>
#include <stddef.h>

#include "app/app_state.h"
#include "app/text.h"
#include "flows/flow_messages.h"

// The chooser record's older, shorter layout (OPENFILENAME_SIZE_VERSION_400A,
// which is not a constant expression). It differs between the builds: the
// 32-bit program that ships hands the chooser 76 bytes.
const DWORD kChooserRecordSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(kChooserRecordSize == (sizeof(void*) == 4 ? 76 : 136), "the chooser record's older layout");

// Twice the path limit: a path under 260 UTF-16 units, which Windows
// allows, takes at most 518 bytes in code page 932. With the limit alone
// the chooser may cut such a path (Wine does, without a terminator) or fail.
const size_t kChooserBufferSize = 2 * kPathSize;

void ChooserFailureText(DWORD error, const char* pathTooLong, char* out, size_t size) {
  if (error == FNERR_BUFFERTOOSMALL) {
    CopyText(out, size, pathTooLong);
    return;
  }
  char code[32];
  wsprintfA(code, "（エラー 0x%04X）", static_cast<unsigned int>(error));
  CopyText(out, size, kNotChosen);
  AppendText(out, size, "\n\n");
  AppendText(out, size, code);
}

int RunFileChooser(HWND owner, const ChooserSettings& settings) {
  char file[kChooserBufferSize];
  char fileTitle[kChooserBufferSize];
  OPENFILENAMEA chooser;
  ZeroMemory(appState.chosenPath, sizeof appState.chosenPath);
  ZeroMemory(appState.chosenFileTitle, sizeof appState.chosenFileTitle);
  ZeroMemory(file, sizeof file);
  ZeroMemory(fileTitle, sizeof fileTitle);
  ZeroMemory(&chooser, sizeof chooser);
  chooser.lStructSize = kChooserRecordSize;
  chooser.hwndOwner = owner;
  chooser.lpstrFilter = settings.filter;
  chooser.nFilterIndex = 0;
  chooser.lpstrFile = file;
  chooser.nMaxFile = sizeof file;
  chooser.lpstrFileTitle = fileTitle;
  chooser.nMaxFileTitle = sizeof fileTitle;
  chooser.lpstrInitialDir = settings.initialFolder;
  chooser.lpstrTitle = settings.title;
  chooser.Flags = settings.flags;
  chooser.lpstrDefExt = settings.defaultExtension;

  if (!GetOpenFileNameA(&chooser)) {
    DWORD error = CommDlgExtendedError();
    if (error != 0) {
      char text[256];
      ChooserFailureText(error, settings.pathTooLong, text, sizeof text);
      ShowWarning(owner, text);
    }
    return 0;
  }
  // A path that filled the buffer has no terminator of its own.
  file[sizeof file - 1] = '\0';
  fileTitle[sizeof fileTitle - 1] = '\0';
  if (!CopyText(appState.chosenPath, sizeof appState.chosenPath, file)) {
    ZeroMemory(appState.chosenPath, sizeof appState.chosenPath);
    ShowWarning(owner, settings.pathTooLong);
    return 0;
  }
  CopyText(appState.chosenFileTitle, sizeof appState.chosenFileTitle, fileTitle);
  return 1;
}
