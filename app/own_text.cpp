#include "app/own_text.h"

int WidenOwnText(const char* text, WCHAR* out, int size) {
  int length = MultiByteToWideChar(kOwnCodePage, 0, text, -1, out, size);
  if (length == 0 && size > 0) out[0] = 0;
  return length > 0 ? length - 1 : 0;
}

void DrawOwnText(HDC dc, int x, int y, const char* text) {
  WCHAR wide[128];  // the longest painted text is 26 characters
  int length = WidenOwnText(text, wide, ARRAYSIZE(wide));
  if (length > 0) TextOutW(dc, x, y, wide, length);
}
