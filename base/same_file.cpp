#include "base/same_file.h"

#include "base/limits.h"
#include "base/run_time_binding.h"
#include "base/text.h"

int SameNames(const WCHAR* a, int aLength, const WCHAR* b, int bLength) {
  // As the file system compares: unit by unit through the system's own
  // upper case, never by a language's rules. Windows before Vista lacks the
  // call that does it; there the units are compared as they are.
  int(WINAPI * compareOrdinal)(LPCWSTR, int, LPCWSTR, int, BOOL) = NULL;
  if (BindFunction(KernelModule(), "CompareStringOrdinal", &compareOrdinal)) {
    return compareOrdinal(a, aLength, b, bLength, TRUE) == CSTR_EQUAL;
  }
  int i = 0;
  while (i < aLength && i < bLength && a[i] == b[i]) ++i;
  return i == aLength && i == bLength;
}

void LongForm(const WCHAR* path, WCHAR* out, int size) {
  // GetLongPathNameW is not in the first Windows 95.
  DWORD(WINAPI * longPathName)(LPCWSTR, LPWSTR, DWORD) = NULL;
  DWORD length = BindFunction(KernelModule(), "GetLongPathNameW", &longPathName)
                     ? longPathName(path, out, static_cast<DWORD>(size))
                     : 0;
  if (length == 0 || length >= static_cast<DWORD>(size)) lstrcpynW(out, path, size);
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
