// The program's own texts are code page 932 (the sources are compiled so),
// whatever code page the process runs in.
#pragma once

#include <windows.h>

const UINT kOwnCodePage = 932;

// Converts one of the program's texts to UTF-16 in out (size units),
// converted from 932 by name. Returns its length without the terminator;
// out is empty (and 0 returned) where it does not fit.
int WidenOwnText(const char* text, WCHAR* out, int size);

// Draws one of the program's texts at (x, y) of window's drawing context dc,
// in the context's colours. GDI keeps the system's code page even where the
// manifest gave the process another, so the text is drawn wide, and in the
// context's own font (the System font) only where that code page is 932:
// elsewhere that font has no Japanese, and the window's dialog font does.
// The context's font is as before afterwards.
void DrawOwnText(HWND window, HDC dc, int x, int y, const char* text);
