#include "base/platform_version.h"

#include "base/run_time_binding.h"

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

int RunningUnderWow64() {
  BOOL(WINAPI * isWow64Process)(HANDLE, PBOOL) = NULL;
  BOOL wow64 = FALSE;
  if (BindFunction(KernelModule(), "IsWow64Process", &isWow64Process) &&
      !isWow64Process(GetCurrentProcess(), &wow64)) {
    wow64 = FALSE;
  }
  return wow64 ? 1 : 0;
}
