// The program's own texts are code page 932 (the sources are compiled so),
// whatever code page the process runs in.
#pragma once

#include <windows.h>

const UINT kOwnCodePage = 932;

// Converts one of the program's texts to UTF-16 in out (size units),
// converted from 932 by name. Returns its length without the terminator;
// out is empty (and 0 returned) where it does not fit.
int WidenOwnText(const char* text, WCHAR* out, int size);

// How the texts a window paints itself are drawn in one paint. Begun after
// BeginPaint, ended before EndPaint.
struct OwnTexts {
  HDC dc;
  HGDIOBJ previousFont;    // the context's font, to put back; null where it stays
  int unitsX, unitsY;      // the dialog's base units now
  int unitsX96, unitsY96;  // those of its font at 96 dpi
  int highContrast;        // 1: a contrast theme's colours
};

// 1 while Windows runs a contrast theme (SPI_GETHIGHCONTRAST reports
// HCF_HIGHCONTRASTON): the texts are then drawn in its colours.
int ContrastThemeOn();

// Where the message tells that the colours or the contrast theme changed,
// reads whether a contrast theme runs into *highContrast (Microsoft asks
// programs to check at start and on these) and has window painted again.
void FollowContrastTheme(HWND window, UINT message, WPARAM wParam, BYTE* highContrast);

// Prepares dc, window's drawing context, for its texts. The font: where the
// dialog and the context are both at 96 dpi, the context's own (the System
// font) where the system's code page is 932, which GDI keeps even where the
// manifest gave the process another; elsewhere that font has no Japanese,
// and the dialog's font does. Otherwise always the dialog's font, made for
// the window's scale: the System font is a bitmap font made for 96 and 120
// dpi only, and its size is the logon scale's, not the monitor's.
void BeginOwnTexts(HWND window, HDC dc, int highContrast, OwnTexts* texts);

// Draws one of the program's texts, wide, at (x, y), its place in pixels at
// 96 dpi, moved with the dialog's own units so that it keeps its place beside
// the controls at any scale; in colour on the button face, or in a contrast
// theme in its text colour.
void DrawOwnText(const OwnTexts& texts, int x, int y, const char* text, COLORREF colour);

// Puts the context's font back.
void EndOwnTexts(const OwnTexts& texts);
