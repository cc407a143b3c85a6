#include "app/own_text.h"

void DrawOwnText(HDC dc, int x, int y, const char* text) {
  WCHAR wide[128];  // the longest painted text is 26 characters
  int length = MultiByteToWideChar(kOwnCodePage, 0, text, -1, wide, ARRAYSIZE(wide));
  if (length > 1) TextOutW(dc, x, y, wide, length - 1);
}
