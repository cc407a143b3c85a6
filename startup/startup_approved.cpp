#include "startup/startup_approved.h"

static const char kApprovedKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

// 1 when the binary value's first byte is odd. Task Manager writes 12 bytes;
// a longer value (up to 64 KiB) is read again whole, since a buffer too small
// for it is left undefined (ERROR_MORE_DATA).
static int FirstByteOdd(HKEY key, const char* fileName) {
  const DWORD kLongest = 64 * 1024;
  BYTE small[16];
  BYTE* state = small;
  DWORD type = 0;
  DWORD size = sizeof small;
  LONG read = RegQueryValueExA(key, fileName, NULL, &type, small, &size);
  if (read == ERROR_MORE_DATA && size <= kLongest) {
    state = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, size));
    read = state != NULL ? RegQueryValueExA(key, fileName, NULL, &type, state, &size) : ERROR_OUTOFMEMORY;
  }
  int odd = read == ERROR_SUCCESS && type == REG_BINARY && size >= 1 && (state[0] & 1) != 0;
  if (state != small && state != NULL) HeapFree(GetProcessHeap(), 0, state);
  return odd;
}

int SwitchedOffInWindows(StartupScope scope, const char* fileName) {
  HKEY root = scope == kScopeAllUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  // The key Explorer reads, not the 32-bit program's own view of the machine.
  REGSAM access = KEY_QUERY_VALUE | (scope == kScopeAllUsers ? KEY_WOW64_64KEY : 0);
  HKEY key = NULL;
  int off = 0;
  if (RegOpenKeyExA(root, kApprovedKey, 0, access, &key) == ERROR_SUCCESS) {
    off = FirstByteOdd(key, fileName);
    RegCloseKey(key);
  }
  return off;
}
