#include "base/same_file.h"

#include "base/limits.h"
#include "base/run_time_binding.h"
#include "base/text.h"

int SameNames(const WCHAR* a, int aLength, const WCHAR* b, int bLength) {
  // As the file system compares: unit by unit through the system's own
  // upper case, never by a language's rules. Vista and later have the call
  // that does it; before, the window manager's upper case comes closest.
  int(WINAPI * compareOrdinal)(LPCWSTR, int, LPCWSTR, int, BOOL) = NULL;
  if (BindFunction(KernelModule(), "CompareStringOrdinal", &compareOrdinal)) {
    return compareOrdinal(a, aLength, b, bLength, TRUE) == CSTR_EQUAL;
  }
  if (aLength != bLength) return 0;
  for (int i = 0; i < aLength; ++i) {
    ULONG_PTR upperA = reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(a[i]))));
    ULONG_PTR upperB = reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(b[i]))));
    if (LOWORD(upperA) != LOWORD(upperB)) return 0;
  }
  return 1;
}

void LongForm(const WCHAR* path, WCHAR* out, int size) {
  // GetLongPathNameW is not in the first Windows 95.
  DWORD(WINAPI * longPathName)(LPCWSTR, LPWSTR, DWORD) = NULL;
  BindFunction(KernelModule(), "GetLongPathNameW", &longPathName);
  WCHAR full[2 * kPathSize];
  DWORD length = GetFullPathNameW(path, ARRAYSIZE(full), full, NULL);
  if (length == 0 || length >= ARRAYSIZE(full)) lstrcpynW(full, path, ARRAYSIZE(full));
  length = longPathName != NULL ? longPathName(full, out, static_cast<DWORD>(size)) : 0;
  if (length == 0 || length >= static_cast<DWORD>(size)) lstrcpynW(out, full, size);
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
