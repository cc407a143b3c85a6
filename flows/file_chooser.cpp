#include "flows/file_chooser.h"

#include <cderr.h>
#include <commdlg.h>
#include <stddef.h>

#include "base/own_text.h"
#include "base/system_dlls.h"
#include "base/text.h"
#include "flows/app_state.h"
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

// The chooser's own texts are the program's (code page 932); the initial
// folder is a path of the platform's, in the process's code page.
static void Widen(UINT codePage, const char* text, int length, WCHAR* out, int size) {
  if (MultiByteToWideChar(codePage, 0, text, length, out, size) == 0) out[0] = 0;
}

// The chooser of the NT family: wide, so that the file names come back as
// they are, never as the look-alikes the ANSI chooser would give. Returns the
// chooser's result; *named tells how file and fileTitle took the picked names.
static BOOL RunWideChooser(const OPENFILENAMEA& ansi, NarrowResult* named) {
  WideSettings texts;
  // Every path Windows allows fits; a longer one fails with
  // FNERR_BUFFERTOOSMALL.
  WCHAR file[kPathSize];
  WCHAR fileTitle[kPathSize];
  OPENFILENAMEW chooser;
  ZeroMemory(&texts, sizeof texts);
  ZeroMemory(file, sizeof file);
  ZeroMemory(fileTitle, sizeof fileTitle);
  ZeroMemory(&chooser, sizeof chooser);
  Widen(kOwnCodePage, ansi.lpstrFilter, ListLength(ansi.lpstrFilter), texts.filter, ARRAYSIZE(texts.filter));
  Widen(CP_ACP, ansi.lpstrInitialDir, -1, texts.initialFolder, ARRAYSIZE(texts.initialFolder));
  Widen(kOwnCodePage, ansi.lpstrTitle, -1, texts.title, ARRAYSIZE(texts.title));
  Widen(kOwnCodePage, ansi.lpstrDefExt, -1, texts.defaultExtension, ARRAYSIZE(texts.defaultExtension));
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
  *named = NarrowExactly(GetACP(), file, ansi.lpstrFile, static_cast<int>(ansi.nMaxFile));
  if (*named == kNarrowedExactly) {
    *named = NarrowExactly(GetACP(), fileTitle, ansi.lpstrFileTitle, static_cast<int>(ansi.nMaxFileTitle));
  }
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
  NarrowResult named = kNarrowedExactly;
  BOOL picked = systemDlls.GetOpenFileNameW ? RunWideChooser(chooser, &named) : systemDlls.GetOpenFileNameA(&chooser);
  if (!picked) {
    DWORD error = systemDlls.CommDlgExtendedError();
    if (error != 0) {
      char text[256];
      ChooserFailureText(error, settings.pathTooLong, text, sizeof text);
      ShowWarning(owner, text);
    }
    return 0;
  }
  if (named != kNarrowedExactly) {
    // A name that converts but outgrows the buffer (in UTF-8 a kanji takes
    // three bytes) is a path too long, not a character the program lacks.
    ShowWarning(owner, named == kNotExact ? settings.nameNotExact : settings.pathTooLong);
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
