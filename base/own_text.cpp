#include "base/own_text.h"

int WidenOwnText(const char* text, WCHAR* out, int size) {
  int length = MultiByteToWideChar(kOwnCodePage, 0, text, -1, out, size);
  if (length == 0 && size > 0) out[0] = 0;
  return length > 0 ? length - 1 : 0;
}

// The code page of the System font: the system locale's. The manifest's
// activeCodePage does not reach it ("GDI doesn't currently support setting
// the ActiveCodePage property per process. Instead, GDI defaults to the
// active system codepage": Microsoft, "Use UTF-8 code pages in Windows
// apps"), and no font is linked to the raster System font, so on any other
// Windows Japanese comes out as boxes. On a Japanese Windows it stays 932
// with the UTF-8 option on. The 9x family answers no wide call; there the
// process's code page is the system's.
static UINT SystemFontCodePage() {
  DWORD codePage = 0;
  if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                     reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR)) == 0) {
    return GetACP();
  }
  return codePage;
}

void DrawOwnText(HWND window, HDC dc, int x, int y, const char* text) {
  WCHAR wide[128];  // the longest painted text is 26 characters
  int length = WidenOwnText(text, wide, ARRAYSIZE(wide));
  if (length == 0) return;
  HGDIOBJ previous = NULL;
  if (SystemFontCodePage() != kOwnCodePage) {
    // The template's "ＭＳ Ｐゴシック", in every Windows 10 and 11 whatever its
    // language; the dialog manager asks for it by its Unicode name.
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    if (font != NULL) previous = SelectObject(dc, font);
  }
  TextOutW(dc, x, y, wide, length);
  if (previous != NULL) SelectObject(dc, previous);
}
