#include "startup/program_place.h"

#include <windows.h>

#include "base/limits.h"
#include "base/same_file.h"
#include "base/text.h"

// The folder that holds the profiles (C:\Users), as ProfileList names it
// in the 64-bit view, where Windows keeps it, its variables expanded; empty
// where it is not set.
static void ProfilesDirectory(WCHAR* folder, DWORD size) {
  HKEY key = NULL;
  WCHAR value[MAX_PATH];
  DWORD type = 0;
  DWORD bytes = sizeof value - sizeof(WCHAR);
  folder[0] = 0;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", 0,
                    KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
    return;
  }
  if (RegQueryValueExW(key, L"ProfilesDirectory", NULL, &type, reinterpret_cast<BYTE*>(value), &bytes) ==
          ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    value[bytes / sizeof(WCHAR)] = 0;
    DWORD length = ExpandEnvironmentStringsW(value, folder, size);
    if (length == 0 || length > size) folder[0] = 0;
  }
  RegCloseKey(key);
}

int InAUsersProfileFolder(const char* path) {
  WCHAR wide[kPathSize];
  WCHAR program[2 * kPathSize];
  WCHAR profiles[MAX_PATH];
  WCHAR root[2 * kPathSize];
  ProfilesDirectory(profiles, MAX_PATH);
  if (profiles[0] == 0 || !WidenPath(path, wide, kPathSize)) return 0;
  LongForm(wide, program, ARRAYSIZE(program));
  LongForm(profiles, root, ARRAYSIZE(root));
  int length = lstrlenW(root);
  if (length > 0 && root[length - 1] == L'\\') --length;
  if (lstrlenW(program) <= length || program[length] != L'\\' || !SameNames(program, length, root, length)) return 0;
  // A folder in it, and the program inside that folder.
  const WCHAR* profile = program + length + 1;
  const WCHAR* end = profile;
  while (*end != 0 && *end != L'\\') ++end;
  int nameLength = static_cast<int>(end - profile);
  return *end == L'\\' && nameLength > 0 && !SameNames(profile, nameLength, L"Public", 6);
}

DriveKind ProgramDrive(const char* path) {
  if (path[0] == '\\' && path[1] == '\\') return kNetworkDrive;
  if (path[0] == '\0' || path[1] != ':') return kFixedDrive;
  const char root[] = {path[0], ':', '\\', '\0'};
  switch (GetDriveTypeA(root)) {
    case DRIVE_REMOTE:
      return kNetworkDrive;
    case DRIVE_REMOVABLE:
    case DRIVE_CDROM:
      return kRemovableDrive;
    default:
      return kFixedDrive;
  }
}
