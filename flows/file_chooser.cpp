#include "flows/file_chooser.h"

#include <cderr.h>
#include <commdlg.h>
#include <stddef.h>

#include "base/own_text.h"
#include "base/system_dlls.h"
#include "base/text.h"
#include "flows/app_state.h"
#include "flows/flow_messages.h"

// The chooser record's older, shorter layout (OPENFILENAME_SIZE_VERSION_400W,
// which is not a constant expression). It differs between the builds: the
// 32-bit program that ships hands the chooser 76 bytes.
const DWORD kChooserRecordSize = offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR);
static_assert(kChooserRecordSize == (sizeof(void*) == 4 ? 76 : 136), "the chooser record's older layout");

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

// The texts as the chooser takes them: the filter list whole, with its
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

int RunFileChooser(HWND owner, const ChooserSettings& settings) {
  WideSettings texts;
  // Every path Windows allows fits; a longer one fails with
  // FNERR_BUFFERTOOSMALL. Wide, so that the names come back as they are,
  // never as the look-alikes the ANSI chooser would give.
  WCHAR file[kPathSize];
  WCHAR fileTitle[kPathSize];
  OPENFILENAMEW chooser;
  ZeroMemory(appState.chosenPath, sizeof appState.chosenPath);
  ZeroMemory(appState.chosenFileTitle, sizeof appState.chosenFileTitle);
  ZeroMemory(&texts, sizeof texts);
  ZeroMemory(file, sizeof file);
  ZeroMemory(fileTitle, sizeof fileTitle);
  ZeroMemory(&chooser, sizeof chooser);
  Widen(kOwnCodePage, settings.filter, ListLength(settings.filter), texts.filter, ARRAYSIZE(texts.filter));
  Widen(CP_ACP, settings.initialFolder, -1, texts.initialFolder, ARRAYSIZE(texts.initialFolder));
  Widen(kOwnCodePage, settings.title, -1, texts.title, ARRAYSIZE(texts.title));
  Widen(kOwnCodePage, settings.defaultExtension, -1, texts.defaultExtension, ARRAYSIZE(texts.defaultExtension));
  chooser.lStructSize = kChooserRecordSize;
  chooser.hwndOwner = owner;
  chooser.lpstrFilter = texts.filter;
  chooser.nFilterIndex = 0;
  chooser.lpstrFile = file;
  chooser.nMaxFile = ARRAYSIZE(file);
  chooser.lpstrFileTitle = fileTitle;
  chooser.nMaxFileTitle = ARRAYSIZE(fileTitle);
  chooser.lpstrInitialDir = texts.initialFolder;
  chooser.lpstrTitle = texts.title;
  chooser.Flags = settings.flags;
  chooser.lpstrDefExt = texts.defaultExtension;

  if (!systemDlls.GetOpenFileNameW(&chooser)) {
    DWORD error = systemDlls.CommDlgExtendedError();
    if (error != 0) {
      char text[256];
      ChooserFailureText(error, settings.pathTooLong, text, sizeof text);
      ShowWarning(owner, text);
    }
    return 0;
  }
  file[ARRAYSIZE(file) - 1] = 0;
  fileTitle[ARRAYSIZE(fileTitle) - 1] = 0;
  NarrowResult named = NarrowExactly(GetACP(), file, appState.chosenPath, sizeof appState.chosenPath);
  if (named == kNarrowedExactly) {
    named = NarrowExactly(GetACP(), fileTitle, appState.chosenFileTitle, sizeof appState.chosenFileTitle);
  }
  if (named != kNarrowedExactly) {
    ZeroMemory(appState.chosenPath, sizeof appState.chosenPath);
    ZeroMemory(appState.chosenFileTitle, sizeof appState.chosenFileTitle);
    // A name that converts but outgrows the buffer (259 bytes; in UTF-8 a
    // kanji takes three) is a path too long, not a character the program
    // lacks.
    ShowWarning(owner, named == kNotExact ? settings.nameNotExact : settings.pathTooLong);
    return 0;
  }
  return 1;
}
