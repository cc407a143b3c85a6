#include "base/text.h"

#include <windows.h>

// Length of the character that starts at p: 2 for a lead byte followed by a
// trail byte, else 1. A lead byte before the terminator stands alone.
static size_t CharLength(const char* p) {
  return (IsDBCSLeadByte(static_cast<BYTE>(p[0])) && p[1] != '\0') ? 2 : 1;
}

int IsAsciiWord(const char* token, size_t length, const char* word) {
  size_t i = 0;
  for (; i < length && word[i] != '\0'; ++i) {
    if (AsciiUpper(token[i]) != word[i]) return 0;
  }
  return i == length && word[i] == '\0';
}

int CopyText(char* dst, size_t size, const char* src) {
  if (size == 0) return 0;
  dst[0] = '\0';
  return AppendText(dst, size, src);
}

int AppendText(char* dst, size_t size, const char* src) {
  if (size == 0) return 0;
  size_t used = lstrlenA(dst);
  if (used >= size) return 0;
  const char* p = src;
  while (*p != '\0') {
    size_t n = CharLength(p);
    if (used + n > size - 1) break;
    for (size_t i = 0; i < n; ++i) dst[used++] = p[i];
    p += n;
  }
  dst[used] = '\0';
  return *p == '\0';
}

NarrowResult NarrowExactly(UINT codePage, const WCHAR* wide, char* out, int size) {
  // Windows refuses WC_NO_BEST_FIT_CHARS and a used-default flag for UTF-8.
  BOOL usedDefault = FALSE;
  DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL* used = codePage == CP_UTF8 ? NULL : &usedDefault;
  int needed = WideCharToMultiByte(codePage, flags, wide, -1, NULL, 0, NULL, used);
  if (needed == 0 || usedDefault) return kNotExact;
  if (needed > size) return kNarrowTooLong;
  return WideCharToMultiByte(codePage, flags, wide, -1, out, size, NULL, used) == needed ? kNarrowedExactly : kNotExact;
}

void NarrowShown(const WCHAR* wide, int length, int units, char* out, int size) {
  const int kLongest = 512;
  WCHAR shown[kLongest + 2];
  if (length < 0) length = lstrlenW(wide);
  if (units > kLongest) units = kLongest;
  int cut = length > units;
  if (cut) {
    length = units;
    if (length > 0 && wide[length - 1] >= 0xD800 && wide[length - 1] <= 0xDBFF) --length;  // a pair's first half
  }
  CopyMemory(shown, wide, length * sizeof(WCHAR));
  if (cut) shown[length++] = 0x2026;
  shown[length] = 0;
  // UTF-8 refuses WC_NO_BEST_FIT_CHARS; it holds every character anyway.
  if (WideCharToMultiByte(CP_ACP, GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS, shown, -1, out, size, NULL, NULL) == 0 &&
      size > 0) {
    out[0] = '\0';
  }
}

int WidenPath(const char* path, WCHAR* out, int size) {
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, out, size) != 0) return 1;
  if (size > 0) out[0] = 0;
  return 0;
}
