#include "base/own_text.h"

#include "res/resource.h"

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
// with the UTF-8 option on. A failed query leaves the process's code page.
static UINT SystemFontCodePage() {
  DWORD codePage = 0;
  if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                     reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR)) == 0) {
    return GetACP();
  }
  return codePage;
}

// A dialog's base units for a font, as the dialog manager computes them: the
// average width of the 52 letters, and the height ("How To Calculate Dialog
// Base Units with Non-System-Based Font", Microsoft Knowledge Base 125681).
static void BaseUnits(HDC dc, HGDIOBJ font, int* x, int* y) {
  static const WCHAR kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  TEXTMETRICW metrics;
  SIZE size;
  HGDIOBJ previous = SelectObject(dc, font);
  if (GetTextMetricsW(dc, &metrics) && GetTextExtentPoint32W(dc, kLetters, 52, &size)) {
    *x = (size.cx / 26 + 1) / 2;
    *y = metrics.tmHeight;
  }
  SelectObject(dc, previous);
}

int ContrastThemeOn() {
  HIGHCONTRASTA contrast;
  ZeroMemory(&contrast, sizeof contrast);
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void FollowContrastTheme(HWND window, UINT message, WPARAM wParam, BYTE* highContrast) {
  if (message == WM_SETTINGCHANGE && wParam != SPI_SETHIGHCONTRAST) return;
  *highContrast = static_cast<BYTE>(ContrastThemeOn());
  InvalidateRect(window, NULL, TRUE);
}

void BeginOwnTexts(HWND window, HDC dc, int highContrast, OwnTexts* texts) {
  LOGFONTW face;
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  texts->dc = dc;
  texts->previousFont = NULL;
  texts->unitsX = texts->unitsY = texts->unitsX96 = texts->unitsY96 = 1;
  texts->highContrast = highContrast;
  if (font == NULL || GetObjectW(font, sizeof face, &face) == 0) return;
  // The same font as the dialog manager makes it at 96 dpi. A font the
  // program makes lives for this call only.
  face.lfHeight = -MulDiv(DIALOG_FONT_POINTS, 96, 72);
  HFONT at96 = CreateFontIndirectW(&face);
  if (at96 != NULL) {
    BaseUnits(dc, font, &texts->unitsX, &texts->unitsY);
    BaseUnits(dc, at96, &texts->unitsX96, &texts->unitsY96);
    DeleteObject(at96);
  }
  // A per-monitor aware window on a 100 % monitor while the logon scale is
  // 150 % has its dialog at 96 dpi, yet the stock System font of its context
  // is the logon scale's size.
  int scaled = texts->unitsX != texts->unitsX96 || texts->unitsY != texts->unitsY96 ||
               GetDeviceCaps(dc, LOGPIXELSY) != 96;
  // The template's "ＭＳ Ｐゴシック", in every Windows 10 and 11 whatever its
  // language; the dialog manager asks for it by its Unicode name.
  if (scaled || SystemFontCodePage() != kOwnCodePage) texts->previousFont = SelectObject(dc, font);
}

void DrawOwnText(const OwnTexts& texts, int x, int y, const char* text, COLORREF colour) {
  WCHAR wide[128];  // the longest painted text is 26 characters
  int length = WidenOwnText(text, wide, ARRAYSIZE(wide));
  if (length == 0) return;
  // "Map all colors to a single pair of foreground and background colors"
  // while a contrast theme runs (Microsoft, "High Contrast Parameter").
  SetTextColor(texts.dc, texts.highContrast ? GetSysColor(COLOR_BTNTEXT) : colour);
  SetBkColor(texts.dc, GetSysColor(COLOR_BTNFACE));
  TextOutW(texts.dc, MulDiv(x, texts.unitsX, texts.unitsX96), MulDiv(y, texts.unitsY, texts.unitsY96), wide, length);
}

void EndOwnTexts(const OwnTexts& texts) {
  if (texts.previousFont != NULL) SelectObject(texts.dc, texts.previousFont);
}
