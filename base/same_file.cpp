#include "base/same_file.h"

#include "base/limits.h"
#include "base/text.h"

int SameNames(const WCHAR* a, int aLength, const WCHAR* b, int bLength) {
  // As the file system compares: unit by unit through the system's own
  // upper case, never by a language's rules.
  return CompareStringOrdinal(a, aLength, b, bLength, TRUE) == CSTR_EQUAL;
}

void LongForm(const WCHAR* path, WCHAR* out, int size) {
  // The full path first: C:\a\..\b and C:\b are one file, and the long
  // form keeps . and .. as they are.
  WCHAR full[2 * kPathSize];
  DWORD length = GetFullPathNameW(path, ARRAYSIZE(full), full, NULL);
  const WCHAR* named = length > 0 && length < ARRAYSIZE(full) ? full : path;
  length = GetLongPathNameW(named, out, static_cast<DWORD>(size));
  if (length == 0 || length >= static_cast<DWORD>(size)) lstrcpynW(out, named, size);
}

int SameFileW(const WCHAR* a, const WCHAR* b) {
  WCHAR longA[2 * kPathSize];
  WCHAR longB[2 * kPathSize];
  LongForm(a, longA, ARRAYSIZE(longA));
  LongForm(b, longB, ARRAYSIZE(longB));
  return SameNames(longA, lstrlenW(longA), longB, lstrlenW(longB));
}

int SameFile(const char* a, const char* b) {
  WCHAR wideA[kPathSize];
  WCHAR wideB[kPathSize];
  return WidenPath(a, wideA, kPathSize) && WidenPath(b, wideB, kPathSize) && SameFileW(wideA, wideB);
}
