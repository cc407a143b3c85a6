#include "startup/program_place.h"

#include <windows.h>

#include "base/limits.h"
#include "base/path_text.h"
#include "base/same_file.h"
#include "base/text.h"

// Where Windows lists the profiles, in the 64-bit view where it keeps them.
static const WCHAR kProfileList[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

// The string value name of key, variables expanded and made long, in out
// (size units); empty where there is none. A bare name (no backslash, as the
// older AllUsersProfile "All Users") names a folder of profiles.
static void ReadFolderValue(HKEY key, const WCHAR* name, const WCHAR* profiles, WCHAR* out, int size) {
  WCHAR value[MAX_PATH];
  WCHAR expanded[2 * kPathSize];
  DWORD type = 0;
  DWORD bytes = sizeof value - sizeof(WCHAR);
  out[0] = 0;
  if (RegQueryValueExW(key, name, NULL, &type, reinterpret_cast<BYTE*>(value), &bytes) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return;
  }
  value[bytes / sizeof(WCHAR)] = 0;
  DWORD length = ExpandEnvironmentStringsW(value, expanded, ARRAYSIZE(expanded));
  if (length == 0 || length > ARRAYSIZE(expanded) || expanded[0] == 0) return;
  const WCHAR* p = expanded;
  while (*p != 0 && *p != L'\\') ++p;
  WCHAR joined[4 * kPathSize];
  if (*p == 0 && profiles != NULL && profiles[0] != 0) {
    lstrcpynW(joined, profiles, ARRAYSIZE(joined));
    if (!AppendToFolderW(joined, ARRAYSIZE(joined), expanded)) return;
  } else {
    lstrcpynW(joined, expanded, ARRAYSIZE(joined));
  }
  LongForm(joined, out, size);
}

// The units of path after folder and its backslash, or null where path does
// not lie inside folder (both long forms).
static const WCHAR* Inside(const WCHAR* path, const WCHAR* folder) {
  int length = lstrlenW(folder);
  if (length > 0 && folder[length - 1] == L'\\') --length;
  if (length == 0 || lstrlenW(path) <= length + 1 || path[length] != L'\\' || !SameNames(path, length, folder, length)) {
    return NULL;
  }
  return path + length + 1;
}

// 1 when program lies in the profile folder of a user ProfileList names
// (a subkey S-1-5-21-…, wherever its ProfileImagePath lies).
static int InAListedProfile(HKEY list, const WCHAR* program) {
  for (DWORD index = 0;; ++index) {
    WCHAR name[128];
    DWORD length = ARRAYSIZE(name);
    LONG read = RegEnumKeyExW(list, index, name, &length, NULL, NULL, NULL, NULL);
    if (read == ERROR_NO_MORE_ITEMS) return 0;
    HKEY profile = NULL;
    if (read != ERROR_SUCCESS || length < 9 || !SameNames(name, 9, L"S-1-5-21-", 9) ||
        RegOpenKeyExW(list, name, 0, KEY_QUERY_VALUE, &profile) != ERROR_SUCCESS) {
      continue;
    }
    WCHAR image[2 * kPathSize];
    ReadFolderValue(profile, L"ProfileImagePath", NULL, image, ARRAYSIZE(image));
    RegCloseKey(profile);
    if (image[0] != 0 && Inside(program, image) != NULL) return 1;
  }
}

// 1 when program lies in a folder of the profiles directory that is none of
// the shared ones (Public, Default, All Users): a user's, listed or not (an
// account whose key was removed).
static int InAProfilesFolder(HKEY list, const WCHAR* program) {
  WCHAR profiles[2 * kPathSize];
  ReadFolderValue(list, L"ProfilesDirectory", NULL, profiles, ARRAYSIZE(profiles));
  const WCHAR* rest = profiles[0] != 0 ? Inside(program, profiles) : NULL;
  if (rest == NULL) return 0;
  const WCHAR* end = rest;
  while (*end != 0 && *end != L'\\') ++end;
  if (*end != L'\\') return 0;  // the program must be inside that folder
  int folderLength = static_cast<int>(end - program);
  static const WCHAR kShared[][16] = {L"Public", L"Default", L"AllUsersProfile"};
  for (const WCHAR* shared : kShared) {
    WCHAR folder[2 * kPathSize];
    ReadFolderValue(list, shared, profiles, folder, ARRAYSIZE(folder));
    int length = lstrlenW(folder);
    if (length > 0 && folder[length - 1] == L'\\') --length;
    if (length > 0 && SameNames(program, folderLength, folder, length)) return 0;
  }
  return 1;
}

int InAUsersProfileFolder(const char* path) {
  WCHAR wide[kPathSize];
  WCHAR program[2 * kPathSize];
  HKEY list = NULL;
  if (!WidenPath(path, wide, kPathSize) ||
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProfileList, 0, KEY_READ | KEY_WOW64_64KEY, &list) != ERROR_SUCCESS) {
    return 0;
  }
  LongForm(wide, program, ARRAYSIZE(program));
  int inOne = InAListedProfile(list, program) || InAProfilesFolder(list, program);
  RegCloseKey(list);
  return inOne;
}

DriveKind ProgramDrive(const char* path) {
  if (path[0] == '\\' && path[1] == '\\') return kNetworkDrive;
  if (path[0] == '\0' || path[1] != ':') return kFixedDrive;
  const WCHAR root[] = {static_cast<WCHAR>(static_cast<BYTE>(path[0])), L':', L'\\', 0};
  switch (GetDriveTypeW(root)) {
    case DRIVE_REMOTE:
      return kNetworkDrive;
    case DRIVE_REMOVABLE:
    case DRIVE_CDROM:
      return kRemovableDrive;
    default:
      return kFixedDrive;
  }
}
