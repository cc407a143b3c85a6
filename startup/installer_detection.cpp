#include "startup/installer_detection.h"

#include "base/path_text.h"

static const char kPolicyKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

// The policy's DWORD EnableInstallerDetection is 1, in the 64-bit view where
// Windows keeps it. Absent, of another type or another value: off.
static int InstallerDetectionOn() {
  HKEY key = NULL;
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = sizeof value;
  int on = 0;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPolicyKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS) {
    on = RegQueryValueExA(key, "EnableInstallerDetection", NULL, &type, reinterpret_cast<BYTE*>(&value), &size) ==
             ERROR_SUCCESS &&
         type == REG_DWORD && size == sizeof value && value == 1;
    RegCloseKey(key);
  }
  return on;
}

int TakenForInstaller(const char* path, WORD machine, ACTCTX_REQUESTED_RUN_LEVEL level) {
  if (machine != IMAGE_FILE_MACHINE_I386 || level != ACTCTX_RUN_LEVEL_UNSPECIFIED) return 0;
  if (!FileNameHolds(path, "INSTALL") && !FileNameHolds(path, "SETUP") && !FileNameHolds(path, "UPDATE")) return 0;
  return InstallerDetectionOn();
}
