// A DLL the locale test loads into the running program. It takes the place of
// the program's TextOutW import and, for each text drawn, appends a line to
// "<its own path>.txt" in code page 932: 1 or 0 for whether the context's
// font is the stock System font, how many of the text's characters that font
// lacks, the text and the font's face name, tab-separated.
#include <windows.h>

static decltype(&TextOutW) realTextOut = NULL;
static char logPath[MAX_PATH + 8];

static void Append(const char* text) {
  HANDLE log = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, 0, NULL);
  if (log == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(log, text, lstrlenA(text), &written, NULL);
  CloseHandle(log);
}

static BOOL WINAPI RecordingTextOut(HDC dc, int x, int y, LPCWSTR text, int length) {
  WORD glyphs[128];
  int missing = -1;
  if (length > 0 && length <= 128 &&
      GetGlyphIndicesW(dc, text, length, glyphs, GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR) {
    missing = 0;
    for (int i = 0; i < length; ++i) missing += glyphs[i] == 0xFFFF ? 1 : 0;
  }
  WCHAR face[LF_FACESIZE] = L"";
  GetTextFaceW(dc, LF_FACESIZE, face);
  char drawn[512] = "", name[LF_FACESIZE * 2] = "", line[1024];
  WideCharToMultiByte(932, 0, text, length, drawn, sizeof drawn - 1, NULL, NULL);
  WideCharToMultiByte(932, 0, face, -1, name, sizeof name, NULL, NULL);
  wsprintfA(line, "%d\t%d\t%s\t%s\r\n", GetCurrentObject(dc, OBJ_FONT) == GetStockObject(SYSTEM_FONT) ? 1 : 0, missing,
            drawn, name);
  Append(line);
  return realTextOut(dc, x, y, text, length);
}

// The program's import slot of gdi32's TextOutW, found by name. TRUE once replaced.
static BOOL ReplaceTextOut() {
  BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(NULL));
  const IMAGE_NT_HEADERS* nt =
      reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); d->Name != 0; ++d) {
    if (lstrcmpiA(reinterpret_cast<char*>(base + d->Name), "gdi32.dll") != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (lstrcmpA(reinterpret_cast<char*>(byName->Name), "TextOutW") != 0) continue;
      DWORD protection = 0;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
      realTextOut = reinterpret_cast<decltype(&TextOutW)>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(&RecordingTextOut);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
      return TRUE;
    }
  }
  return FALSE;
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  DWORD length = GetModuleFileNameA(self, logPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return FALSE;
  lstrcatA(logPath, ".txt");
  return ReplaceTextOut();
}
