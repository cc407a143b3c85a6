#include "startup/startup_approved.h"

#include "base/text.h"

static const char kApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";

// 1 when the binary value's first byte is odd. Task Manager writes 12 bytes;
// a longer value (up to 64 KiB) is read again whole, since a buffer too small
// for it is left undefined (ERROR_MORE_DATA).
static int FirstByteOdd(HKEY key, const WCHAR* fileName) {
  const DWORD kLongest = 64 * 1024;
  BYTE small[16];
  BYTE* state = small;
  DWORD type = 0;
  DWORD size = sizeof small;
  LONG read = RegQueryValueExW(key, fileName, NULL, &type, small, &size);
  if (read == ERROR_MORE_DATA && size <= kLongest) {
    state = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, size));
    read = state != NULL ? RegQueryValueExW(key, fileName, NULL, &type, state, &size) : ERROR_OUTOFMEMORY;
  }
  int odd = read == ERROR_SUCCESS && type == REG_BINARY && size >= 1 && (state[0] & 1) != 0;
  if (state != small && state != NULL) HeapFree(GetProcessHeap(), 0, state);
  return odd;
}

int SwitchedOff(HKEY root, REGSAM view, const char* list, const WCHAR* name) {
  char path[sizeof kApprovedKey + 16];
  HKEY key = NULL;
  int off = 0;
  if (CopyText(path, sizeof path, kApprovedKey) && AppendText(path, sizeof path, list) &&
      RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE | view, &key) == ERROR_SUCCESS) {
    off = FirstByteOdd(key, name);
    RegCloseKey(key);
  }
  return off;
}

int SwitchedOffInWindows(StartupScope scope, const WCHAR* fileName) {
  // The key Explorer reads, not the 32-bit program's own view of the machine.
  return scope == kScopeAllUsers ? SwitchedOff(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "StartupFolder", fileName)
                                 : SwitchedOff(HKEY_CURRENT_USER, 0, "StartupFolder", fileName);
}
