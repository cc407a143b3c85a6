#include "app/platform_version.h"

// The version query is told the record's size: 148 bytes in both builds.
static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record's size");

int IsWindows9xFamily(BOOL queried, const OSVERSIONINFOA* version) {
  // A failed query leaves both scope buttons enabled.
  return queried && version->dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

int RunningOnWindows9x() {
  OSVERSIONINFOA version;
  ZeroMemory(&version, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;  // 148 bytes
  BOOL queried = GetVersionExA(&version);
  return IsWindows9xFamily(queried, &version);
}
