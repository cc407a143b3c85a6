#include "startup/file_security.h"

#include <aclapi.h>

#include "base/limits.h"
#include "base/path_text.h"
#include "base/text.h"

// How a file's generic rights map to its own: an [in] record of the calls,
// which never write it.
static const GENERIC_MAPPING kFileMapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                                             FILE_ALL_ACCESS};

static PGENERIC_MAPPING FileMapping() { return const_cast<PGENERIC_MAPPING>(&kFileMapping); }

// 1 when sid is one that every user who logs in holds.
static int EveryUsersSid(PSID sid) {
  static const WELL_KNOWN_SID_TYPE kEveryUsers[] = {WinWorldSid, WinAuthenticatedUserSid, WinBuiltinUsersSid,
                                                    WinInteractiveSid};
  for (WELL_KNOWN_SID_TYPE type : kEveryUsers) {
    BYTE known[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof known;
    if (CreateWellKnownSid(type, NULL, known, &size) && EqualSid(sid, known)) return 1;
  }
  return 0;
}

int StandardUsersGet(PSECURITY_DESCRIPTOR descriptor, DWORD rights) {
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL dacl = NULL;
  if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted)) return 0;
  if (!present || dacl == NULL) return 1;  // no DACL: everyone may do everything
  DWORD granted = 0;
  DWORD denied = 0;
  for (DWORD index = 0; index < dacl->AceCount; ++index) {
    void* found = NULL;
    if (!GetAce(dacl, index, &found)) break;
    // An allowed and a denied ACE are laid out alike.
    ACCESS_ALLOWED_ACE* ace = static_cast<ACCESS_ALLOWED_ACE*>(found);
    BYTE type = ace->Header.AceType;
    if ((ace->Header.AceFlags & INHERIT_ONLY_ACE) != 0 ||
        (type != ACCESS_ALLOWED_ACE_TYPE && type != ACCESS_DENIED_ACE_TYPE) || !EveryUsersSid(&ace->SidStart)) {
      continue;
    }
    DWORD mask = ace->Mask;
    MapGenericMask(&mask, FileMapping());
    if (type == ACCESS_ALLOWED_ACE_TYPE) {
      granted |= mask & ~denied;
    } else {
      denied |= mask & ~granted;
    }
  }
  return (granted & rights) != 0;
}

// The security of the file or folder at path (the parts asked for), or null
// where it cannot be read. LocalFree it.
static PSECURITY_DESCRIPTOR ReadSecurity(const char* path, SECURITY_INFORMATION parts) {
  WCHAR wide[kPathSize];
  PSECURITY_DESCRIPTOR descriptor = NULL;
  if (!WidenPath(path, wide, kPathSize) ||
      GetNamedSecurityInfoW(wide, SE_FILE_OBJECT, parts, NULL, NULL, NULL, NULL, &descriptor) != ERROR_SUCCESS) {
    return NULL;
  }
  return descriptor;
}

// 1 when descriptor grants such a user any of rights; 0 also for none.
static int LetsStandardUsers(PSECURITY_DESCRIPTOR descriptor, DWORD rights) {
  int lets = descriptor != NULL && StandardUsersGet(descriptor, rights);
  if (descriptor != NULL) LocalFree(descriptor);
  return lets;
}

int StandardUsersCanChange(const char* path) {
  char folder[kPathSize];
  if (!DirectoryPart(path, folder, sizeof folder) || folder[0] == '\0') return 0;
  PSECURITY_DESCRIPTOR file = ReadSecurity(path, DACL_SECURITY_INFORMATION);
  PSECURITY_DESCRIPTOR holder = ReadSecurity(folder, DACL_SECURITY_INFORMATION);
  // Told only where both were read: a guess is never said.
  int read = file != NULL && holder != NULL;
  int fileChanges = LetsStandardUsers(file, kChangeFileRights);
  int folderChanges = LetsStandardUsers(holder, kChangeFolderRights);
  return read && (fileChanges || folderChanges);
}

int MayCreateFileIn(const char* folder) {
  // AccessCheck needs the owner and the group as well as the DACL.
  PSECURITY_DESCRIPTOR descriptor =
      ReadSecurity(folder, OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION);
  HANDLE process = NULL;
  HANDLE impersonation = NULL;
  int may = -1;
  if (descriptor != NULL && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, &process) &&
      DuplicateToken(process, SecurityImpersonation, &impersonation)) {
    PRIVILEGE_SET privileges;
    DWORD privilegesSize = sizeof privileges;
    DWORD granted = 0;
    BOOL status = FALSE;
    if (AccessCheck(descriptor, impersonation, FILE_ADD_FILE, FileMapping(), &privileges, &privilegesSize, &granted,
                    &status)) {
      may = status ? 1 : 0;
    }
  }
  if (impersonation != NULL) CloseHandle(impersonation);
  if (process != NULL) CloseHandle(process);
  if (descriptor != NULL) LocalFree(descriptor);
  return may;
}
