#include "startup/startup_approved.h"

static const char kApprovedKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

int SwitchedOffInWindows(StartupScope scope, const char* fileName) {
  HKEY root = scope == kScopeAllUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  // The key Explorer reads, not the 32-bit program's own view of the machine.
  REGSAM access = KEY_QUERY_VALUE | (scope == kScopeAllUsers ? KEY_WOW64_64KEY : 0);
  HKEY key = NULL;
  BYTE state[16];  // Task Manager writes 12 bytes: the state, then a time
  DWORD type = 0;
  DWORD size = sizeof state;
  int off = 0;

  if (RegOpenKeyExA(root, kApprovedKey, 0, access, &key) == ERROR_SUCCESS) {
    off = RegQueryValueExA(key, fileName, NULL, &type, state, &size) == ERROR_SUCCESS && type == REG_BINARY &&
          size >= 1 && (state[0] & 1) != 0;
    RegCloseKey(key);
  }
  return off;
}
