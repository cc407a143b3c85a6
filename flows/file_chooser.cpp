#include "flows/file_chooser.h"

#include <cderr.h>
#include <commdlg.h>
#include <stddef.h>

#include "app/app_state.h"
#include "app/system_dlls.h"
#include "app/text.h"
#include "flows/flow_messages.h"

// The chooser record's older, shorter layout (OPENFILENAME_SIZE_VERSION_400A,
// which is not a constant expression). It differs between the builds: the
// 32-bit program that ships hands the chooser 76 bytes.
const DWORD kChooserRecordSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(kChooserRecordSize == (sizeof(void*) == 4 ? 76 : 136), "the chooser record's older layout");
static_assert(offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR) == kChooserRecordSize,
              "the wide chooser takes the same record size");

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

// The texts as the wide chooser takes them: the filter list whole, with its
// inner terminators.
struct WideSettings {
  WCHAR filter[256];
  WCHAR initialFolder[kPathSize];
  WCHAR title[128];
  WCHAR defaultExtension[8];
};

static int ListLength(const char* list) {
  const char* p = list;
  while (*p != '\0') p += lstrlenA(p) + 1;
  return static_cast<int>(p - list) + 1;
}

static void Widen(const char* text, int length, WCHAR* out, int size) {
  if (MultiByteToWideChar(CP_ACP, 0, text, length, out, size) == 0) out[0] = 0;
}

// 1 when every character of wide has a character of its own in the ANSI code
// page. The ANSI chooser would hand back a look-alike instead (the yen sign
// as a backslash, é as e), and the program would act on another file.
static int NarrowExactly(const WCHAR* wide, char* out, int size) {
  BOOL usedDefault = FALSE;
  int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, out, size, NULL, &usedDefault);
  return length != 0 && !usedDefault;
}

// The chooser of the NT family: wide, so that the file names come back as
// they are. Returns the chooser's result; *exact tells whether file and
// fileTitle hold the picked names exactly.
static BOOL RunWideChooser(const OPENFILENAMEA& ansi, int* exact) {
  WideSettings texts;
  // Every path Windows allows fits, and in code page 932 fits the program's
  // buffers; a longer one fails with FNERR_BUFFERTOOSMALL.
  WCHAR file[kPathSize];
  WCHAR fileTitle[kPathSize];
  OPENFILENAMEW chooser;
  ZeroMemory(&texts, sizeof texts);
  ZeroMemory(file, sizeof file);
  ZeroMemory(fileTitle, sizeof fileTitle);
  ZeroMemory(&chooser, sizeof chooser);
  Widen(ansi.lpstrFilter, ListLength(ansi.lpstrFilter), texts.filter, ARRAYSIZE(texts.filter));
  Widen(ansi.lpstrInitialDir, -1, texts.initialFolder, ARRAYSIZE(texts.initialFolder));
  Widen(ansi.lpstrTitle, -1, texts.title, ARRAYSIZE(texts.title));
  Widen(ansi.lpstrDefExt, -1, texts.defaultExtension, ARRAYSIZE(texts.defaultExtension));
  chooser.lStructSize = ansi.lStructSize;
  chooser.hwndOwner = ansi.hwndOwner;
  chooser.lpstrFilter = texts.filter;
  chooser.nFilterIndex = ansi.nFilterIndex;
  chooser.lpstrFile = file;
  chooser.nMaxFile = ARRAYSIZE(file);
  chooser.lpstrFileTitle = fileTitle;
  chooser.nMaxFileTitle = ARRAYSIZE(fileTitle);
  chooser.lpstrInitialDir = texts.initialFolder;
  chooser.lpstrTitle = texts.title;
  chooser.Flags = ansi.Flags;
  chooser.lpstrDefExt = texts.defaultExtension;

  if (!systemDlls.GetOpenFileNameW(&chooser)) return FALSE;
  file[ARRAYSIZE(file) - 1] = 0;
  fileTitle[ARRAYSIZE(fileTitle) - 1] = 0;
  *exact = NarrowExactly(file, ansi.lpstrFile, static_cast<int>(ansi.nMaxFile)) &&
           NarrowExactly(fileTitle, ansi.lpstrFileTitle, static_cast<int>(ansi.nMaxFileTitle));
  return TRUE;
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

  // The 9x family names its files in the ANSI code page: there the ANSI
  // chooser gives them exactly, and the wide one is not bound.
  int exact = 1;
  BOOL picked = systemDlls.GetOpenFileNameW ? RunWideChooser(chooser, &exact) : systemDlls.GetOpenFileNameA(&chooser);
  if (!picked) {
    DWORD error = systemDlls.CommDlgExtendedError();
    if (error != 0) {
      char text[256];
      ChooserFailureText(error, settings.pathTooLong, text, sizeof text);
      ShowWarning(owner, text);
    }
    return 0;
  }
  if (!exact) {
    ShowWarning(owner, settings.nameNotExact);
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
