#include "base/same_file.h"

#include "base/limits.h"
#include "base/text.h"

int SameNames(const WCHAR* a, int aLength, const WCHAR* b, int bLength) {
  // As the file system compares: unit by unit through the system's own
  // upper case, never by a language's rules.
  return CompareStringOrdinal(a, aLength, b, bLength, TRUE) == CSTR_EQUAL;
}

int MayHoldShortName(const WCHAR* path) {
  const WCHAR* tilde = path;
  while (*tilde != 0 && *tilde != L'~') ++tilde;
  if (*tilde == 0 || path[0] == 0 || path[1] != L':' || path[2] != L'\\') return 0;
  // A network or removable drive may block for a timeout or ask for a disc;
  // GetDriveType answers from the drive's letter alone.
  const WCHAR root[] = {path[0], L':', L'\\', 0};
  return GetDriveTypeW(root) == DRIVE_FIXED;
}

void LongForm(const WCHAR* path, WCHAR* out, int size) {
  // The full path first, from the text alone: C:\a\..\b and C:\b are one
  // file, and the long form keeps . and .. as they are.
  WCHAR full[2 * kPathSize];
  DWORD length = GetFullPathNameW(path, ARRAYSIZE(full), full, NULL);
  const WCHAR* named = length > 0 && length < ARRAYSIZE(full) ? full : path;
  length = MayHoldShortName(named) ? GetLongPathNameW(named, out, static_cast<DWORD>(size)) : 0;
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
