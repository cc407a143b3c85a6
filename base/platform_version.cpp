#include "base/platform_version.h"


// The version query is told the record's size: 148 bytes in both builds.
static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record's size");

int RunningOnWindows9x() {
  OSVERSIONINFOA version;
  ZeroMemory(&version, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;  // 148 bytes
  // A failed query leaves both scope buttons enabled.
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

int RunningUnderWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64 ? 1 : 0;
}
