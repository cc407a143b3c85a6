// A DLL the locale test loads into the running program. In place of the
// program's TextOutW it appends for each text drawn a line to "<its path>.txt"
// (code page 932, tab-separated): whether the font is the stock System font,
// how many characters it lacks, the text, the face, whether its box is inside
// the client area and on a visible control, its place, the client size, its
// colours. In place of SystemParametersInfoA it reports a contrast theme where
// "<its path>.contrast" exists: Wine never reports one.
#include <windows.h>

// The functions the program imported, as their slots held them.
static ULONG_PTR realTextOut = 0;
static ULONG_PTR realParameters = 0;
static char logPath[MAX_PATH + 16];
static char contrastPath[MAX_PATH + 16];

static void Append(const char* text) {
  HANDLE log = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, 0, NULL);
  if (log == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(log, text, lstrlenA(text), &written, NULL);
  CloseHandle(log);
}

// 1 when box (client coordinates of window) meets a visible child's rectangle.
static int OnAControl(HWND window, const RECT& box) {
  for (HWND child = GetWindow(window, GW_CHILD); child != NULL; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT control, both;
    if (!IsWindowVisible(child) || !GetWindowRect(child, &control)) continue;
    MapWindowPoints(NULL, window, reinterpret_cast<POINT*>(&control), 2);
    if (IntersectRect(&both, &box, &control)) return 1;
  }
  return 0;
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
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, text, length, &size);
  HWND window = WindowFromDC(dc);
  RECT client = {0, 0, 0, 0}, box = {x, y, x + size.cx, y + size.cy};
  GetClientRect(window, &client);
  int inside = box.left >= 0 && box.top >= 0 && box.right <= client.right && box.bottom <= client.bottom;
  char drawn[512] = "", name[LF_FACESIZE * 2] = "", line[1024];
  WideCharToMultiByte(932, 0, text, length, drawn, sizeof drawn - 1, NULL, NULL);
  WideCharToMultiByte(932, 0, face, -1, name, sizeof name, NULL, NULL);
  wsprintfA(line, "%d\t%d\t%s\t%s\t%d\t%d\t%d\t%d\t%d\t%d\t%06X\t%06X\r\n",
            GetCurrentObject(dc, OBJ_FONT) == GetStockObject(SYSTEM_FONT) ? 1 : 0, missing, drawn, name, inside,
            OnAControl(window, box), x, y, client.right, client.bottom, GetTextColor(dc), GetBkColor(dc));
  Append(line);
  return reinterpret_cast<decltype(&TextOutW)>(realTextOut)(dc, x, y, text, length);
}

static BOOL WINAPI AnsweringParameters(UINT action, UINT parameter, PVOID value, UINT flags) {
  BOOL done = reinterpret_cast<decltype(&SystemParametersInfoA)>(realParameters)(action, parameter, value, flags);
  if (done && action == SPI_GETHIGHCONTRAST && GetFileAttributesA(contrastPath) != INVALID_FILE_ATTRIBUTES)
    static_cast<HIGHCONTRASTA*>(value)->dwFlags |= HCF_HIGHCONTRASTON;
  return done;
}

// Puts replacement into the program's import slot of name from dll, found by
// name, and what it held into real. TRUE once replaced.
static BOOL ReplaceImport(const char* dll, const char* name, ULONG_PTR replacement, ULONG_PTR* real) {
  BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(NULL));
  const IMAGE_NT_HEADERS* nt =
      reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); d->Name != 0; ++d) {
    if (lstrcmpiA(reinterpret_cast<char*>(base + d->Name), dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (lstrcmpA(reinterpret_cast<char*>(byName->Name), name) != 0) continue;
      DWORD protection = 0;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
      *real = slots->u1.Function;
      slots->u1.Function = replacement;
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
  lstrcpyA(contrastPath, logPath);
  lstrcatA(logPath, ".txt");
  lstrcatA(contrastPath, ".contrast");
  return ReplaceImport("gdi32.dll", "TextOutW", reinterpret_cast<ULONG_PTR>(&RecordingTextOut), &realTextOut) &&
         ReplaceImport("user32.dll", "SystemParametersInfoA", reinterpret_cast<ULONG_PTR>(&AnsweringParameters),
                       &realParameters);
}
