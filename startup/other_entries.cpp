#include "startup/other_entries.h"

#include <string.h>
#include <windows.h>

#include "base/is_file.h"
#include "base/path_text.h"
#include "base/platform_version.h"
#include "base/same_file.h"
#include "base/text.h"
#include "startup/path_rules.h"
#include "startup/shortcut_target.h"
#include "startup/startup_approved.h"
#include "startup/startup_folder.h"

// How many entries of one place are looked at, and the longest Run value
// read (in UTF-16 units): far beyond any real folder, key or command line.
const int kMostPerPlace = 1000;
const int kLongestCommand = 4096;

struct Search {
  const char* program;
  const WCHAR* arguments;
  const char* except;
  OtherEntry* entries;
  int most;
  int count;
};

// The length units of text without blanks at either end, from *start.
static int Trimmed(const WCHAR* text, const WCHAR** start) {
  const WCHAR* end = text + lstrlenW(text);
  while (*text == L' ' || *text == L'\t') ++text;
  while (end > text && (end[-1] == L' ' || end[-1] == L'\t')) --end;
  *start = text;
  return static_cast<int>(end - text);
}

static void Add(Search* search, const char* name, EntryPlace place, const WCHAR* arguments) {
  if (search->count++ >= search->most) return;
  OtherEntry* entry = &search->entries[search->count - 1];
  CopyText(entry->name, sizeof entry->name, name);
  entry->place = place;
  const WCHAR* own = NULL;
  const WCHAR* theirs = NULL;
  int ownLength = Trimmed(search->arguments, &own);
  int length = Trimmed(arguments, &theirs);
  // Exactly, case and all: a program reads its arguments as they are.
  entry->otherArguments = CompareStringOrdinal(own, ownLength, theirs, length, FALSE) != CSTR_EQUAL;
  NarrowShown(theirs, length, kShownArgumentUnits, entry->arguments, sizeof entry->arguments);
}

// Listed wide: the ANSI listing would give a look-alike for a name the code
// page cannot hold.
static void SearchFolder(Search* search, StartupScope scope, EntryPlace place) {
  char folder[kPathSize];
  char every[kPathSize];
  WCHAR pattern[kPathSize];
  WIN32_FIND_DATAW found;
  if (GetStartupFolderPath(NULL, folder, scope) != kFolderFound || !CopyText(every, sizeof every, folder) ||
      !AppendToFolder(every, sizeof every, "*") || !WidenPath(every, pattern, kPathSize)) {
    return;
  }
  HANDLE listing = FindFirstFileW(pattern, &found);
  if (listing == INVALID_HANDLE_VALUE) return;
  int seen = 0;
  do {
    char name[kPathSize];
    char path[kPathSize];
    char started[kPathSize];
    WCHAR arguments[INFOTIPSIZE];  // the most a shortcut stores
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        NarrowExactly(GetACP(), found.cFileName, name, sizeof name) != kNarrowedExactly || !EndsWithLnk(name) ||
        !CopyText(path, sizeof path, folder) || !AppendToFolder(path, sizeof path, name)) {
      continue;
    }
    if ((search->except != NULL && SameFile(path, search->except)) || SwitchedOffInWindows(scope, name)) continue;
    ReadStartedProgram(path, started, sizeof started, arguments, ARRAYSIZE(arguments));
    if (started[0] == '\0' || !SameFile(started, search->program)) continue;
    name[lstrlenA(name) - 4] = '\0';
    Add(search, name, place, arguments);
  } while (++seen < kMostPerPlace && FindNextFileW(listing, &found));
  FindClose(listing);
}

// The length units from start to end as a program's path in program (size
// bytes), ".exe" added where its name has no extension, as CreateProcess
// adds it. Returns 1 for a full path (a drive's or a UNC one) the code page
// holds.
static int CandidateProgram(const WCHAR* start, const WCHAR* end, char* program, int size) {
  WCHAR candidate[kPathSize];
  int length = static_cast<int>(end - start);
  if (length < 3 || length >= kPathSize) return 0;
  lstrcpynW(candidate, start, length + 1);
  int full = (candidate[1] == L':' && candidate[2] == L'\\') || (candidate[0] == L'\\' && candidate[1] == L'\\');
  if (!full || NarrowExactly(GetACP(), candidate, program, size) != kNarrowedExactly) return 0;
  // A dot is never part of a double-byte character.
  return strchr(FileNamePart(program), '.') != NULL || AppendText(program, static_cast<size_t>(size), ".exe");
}

int RunCommandProgram(const WCHAR* command, char* program, int size, WCHAR* arguments, int argumentsSize) {
  WCHAR line[kLongestCommand];
  DWORD length = ExpandEnvironmentStringsW(command, line, kLongestCommand);
  if (length == 0 || length > static_cast<DWORD>(kLongestCommand)) return 0;
  const WCHAR* start = line;
  const WCHAR* end = NULL;
  while (*start == L' ' || *start == L'\t') ++start;
  if (*start == L'"') {
    end = ++start;
    while (*end != 0 && *end != L'"') ++end;
    if (!CandidateProgram(start, end, program, size)) return 0;
    if (*end == L'"') ++end;
  } else {
    for (end = start; *end != 0 && !(*end == L' ' && CandidateProgram(start, end, program, size) && IsFile(program));
         ++end) {
    }
    if (*end == 0 && !(CandidateProgram(start, end, program, size) && IsFile(program))) return 0;
  }
  lstrcpynW(arguments, end, argumentsSize);
  return 1;
}

// The Run values of root in the registry view view; Task Manager's state of
// them is list (Run or Run32) under StartupApproved, in the 64-bit view.
static void SearchRun(Search* search, HKEY root, REGSAM view, const char* list, EntryPlace place) {
  HKEY key = NULL;
  if (RegOpenKeyExW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_QUERY_VALUE | view, &key) !=
      ERROR_SUCCESS) {
    return;
  }
  for (DWORD index = 0; index < static_cast<DWORD>(kMostPerPlace); ++index) {
    WCHAR wideName[kPathSize];
    WCHAR command[kLongestCommand];
    WCHAR arguments[kLongestCommand];
    char name[kPathSize];
    char started[kPathSize];
    DWORD nameLength = kPathSize;
    DWORD bytes = sizeof command - sizeof(WCHAR);
    DWORD type = 0;
    // A name or a command line longer than these is skipped (ERROR_MORE_DATA).
    LONG read = RegEnumValueW(key, index, wideName, &nameLength, NULL, &type, reinterpret_cast<BYTE*>(command), &bytes);
    if (read == ERROR_NO_MORE_ITEMS) break;
    if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) continue;
    command[bytes / sizeof(WCHAR)] = 0;
    if (NarrowExactly(GetACP(), wideName, name, sizeof name) != kNarrowedExactly ||
        SwitchedOff(root, root == HKEY_LOCAL_MACHINE ? KEY_WOW64_64KEY : 0, list, name) ||
        !RunCommandProgram(command, started, sizeof started, arguments, kLongestCommand) ||
        !SameFile(started, search->program)) {
      continue;
    }
    Add(search, name, place, arguments);
  }
  RegCloseKey(key);
}

int FindOtherEntries(const char* program, const WCHAR* arguments, const char* except, OtherEntry* entries, int most) {
  Search search = {program, arguments, except, entries, most, 0};
  SearchFolder(&search, kScopeUser, kUserStartupFolder);
  SearchFolder(&search, kScopeAllUsers, kAllUsersStartupFolder);
  // HKCU's Run is one key for both views; the machine's has two on 64-bit
  // Windows, the 32-bit one's state kept as Run32.
  SearchRun(&search, HKEY_CURRENT_USER, 0, "Run", kUserRegistry);
  SearchRun(&search, HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Run", kAllUsersRegistry);
  if (sizeof(void*) == 8 || RunningUnderWow64()) {
    SearchRun(&search, HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "Run32", kAllUsersRegistry);
  }
  return search.count;
}
