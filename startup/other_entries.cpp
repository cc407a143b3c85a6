#include "startup/other_entries.h"

#include <windows.h>

#include "base/is_file.h"
#include "base/path_text.h"
#include "base/platform_version.h"
#include "base/same_file.h"
#include "base/text.h"
#include "startup/path_rules.h"
#include "startup/program_place.h"
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
  WCHAR except[kPathSize];  // empty: none
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

// Counts an entry named name (its first nameLength units), keeping it where
// there is room. The name is only shown: one the code page cannot hold
// keeps its place, with the code page's default character.
static void Add(Search* search, const WCHAR* name, int nameLength, EntryPlace place, const WCHAR* arguments) {
  if (search->count++ >= search->most) return;
  OtherEntry* entry = &search->entries[search->count - 1];
  NarrowShown(name, nameLength, kPathSize, entry->name, sizeof entry->name);
  entry->place = place;
  const WCHAR* own = NULL;
  const WCHAR* theirs = NULL;
  int ownLength = Trimmed(search->arguments, &own);
  int length = Trimmed(arguments, &theirs);
  // Exactly, case and all: a program reads its arguments as they are.
  entry->otherArguments = CompareStringOrdinal(own, ownLength, theirs, length, FALSE) != CSTR_EQUAL;
  NarrowShown(theirs, length, kShownArgumentUnits, entry->arguments, sizeof entry->arguments);
}

// 1 when name (length units) ends in .lnk in any case.
static int LnkName(const WCHAR* name, int length) {
  return length >= 4 && SameNames(name + length - 4, 4, L".lnk", 4);
}

// Listed wide and read by wide names: the ANSI listing would give a
// look-alike for a name the code page cannot hold, which would open another
// file or none, while Explorer still starts the shortcut.
static void SearchFolder(Search* search, StartupScope scope, EntryPlace place) {
  char folder[kPathSize];
  WCHAR wideFolder[kPathSize];
  WCHAR pattern[kPathSize];
  WIN32_FIND_DATAW found;
  if (GetStartupFolderPath(NULL, folder, scope) != kFolderFound || !WidenPath(folder, wideFolder, kPathSize)) return;
  lstrcpynW(pattern, wideFolder, kPathSize);
  if (!AppendToFolderW(pattern, kPathSize, L"*")) return;
  HANDLE listing = FindFirstFileW(pattern, &found);
  if (listing == INVALID_HANDLE_VALUE) return;
  int seen = 0;
  do {
    WCHAR path[kPathSize];
    char started[kPathSize];
    WCHAR arguments[INFOTIPSIZE];  // the most a shortcut stores
    int length = lstrlenW(found.cFileName);
    lstrcpynW(path, wideFolder, kPathSize);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !LnkName(found.cFileName, length) ||
        !AppendToFolderW(path, kPathSize, found.cFileName)) {
      continue;
    }
    if ((search->except[0] != 0 && SameFileW(path, search->except)) || SwitchedOffInWindows(scope, found.cFileName)) {
      continue;
    }
    ReadStartedProgram(path, started, sizeof started, arguments, ARRAYSIZE(arguments));
    if (started[0] == '\0' || !SameFile(started, search->program)) continue;
    Add(search, found.cFileName, length - 4, place, arguments);
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
  return FileNameHolds(program, ".") || AppendText(program, static_cast<size_t>(size), ".exe");
}

// 1 where the disk may be asked whether candidate is a file: it names the
// program sought (null: any) by name, or lies on neither a network nor a
// removable drive, where the answer never waits for a network or asks for a
// disc. Elsewhere a candidate that is not the program is passed over unasked.
static int MayAsk(const char* candidate, const char* sought) {
  return sought == NULL || SameFile(candidate, sought) || ProgramDrive(candidate) == kFixedDrive;
}

// Copies command into out (size units) as the 64-bit Explorer that runs Run
// values reads it: in this 32-bit program under WoW64, %ProgramFiles% and
// %CommonProgramFiles% are the (x86) folders, in Explorer the 64-bit ones.
// 0 where it does not fit: a cut command may name another program.
static int AsExplorerReads(const WCHAR* command, WCHAR* out, int size) {
  static const WCHAR kVariables[][2][24] = {{L"%ProgramFiles%", L"%ProgramW6432%"},
                                             {L"%CommonProgramFiles%", L"%CommonProgramW6432%"}};
  int wow64 = sizeof(void*) == 4 && RunningUnderWow64();
  int used = 0;
  int left = lstrlenW(command);  // never compared past the command's end
  while (*command != 0) {
    const WCHAR* replacement = NULL;
    int length = 0;
    for (const auto& variable : kVariables) {
      length = lstrlenW(variable[0]);
      if (wow64 && length <= left && CompareStringOrdinal(command, length, variable[0], length, TRUE) == CSTR_EQUAL) {
        replacement = variable[1];
        break;
      }
    }
    const WCHAR* part = replacement != NULL ? replacement : command;
    int added = replacement != NULL ? lstrlenW(replacement) : 1;
    if (used + added >= size) return 0;
    CopyMemory(out + used, part, added * sizeof(WCHAR));
    used += added;
    int consumed = replacement != NULL ? length : 1;
    command += consumed;
    left -= consumed;
  }
  out[used] = 0;
  return 1;
}

int RunCommandProgram(const WCHAR* command, const char* sought, char* program, int size, WCHAR* arguments,
                      int argumentsSize) {
  WCHAR read[kLongestCommand];
  WCHAR line[kLongestCommand];
  if (!AsExplorerReads(command, read, kLongestCommand)) return 0;
  DWORD length = ExpandEnvironmentStringsW(read, line, kLongestCommand);
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
    for (end = start;; ++end) {
      if ((*end == 0 || *end == L' ') && CandidateProgram(start, end, program, size) && MayAsk(program, sought) &&
          IsFile(program)) {
        break;
      }
      if (*end == 0) return 0;
    }
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
    WCHAR name[kPathSize];
    WCHAR command[kLongestCommand];
    WCHAR arguments[kLongestCommand];
    char started[kPathSize];
    DWORD nameLength = kPathSize;
    DWORD bytes = sizeof command - sizeof(WCHAR);
    DWORD type = 0;
    // A name or a command line longer than these is skipped (ERROR_MORE_DATA).
    LONG read = RegEnumValueW(key, index, name, &nameLength, NULL, &type, reinterpret_cast<BYTE*>(command), &bytes);
    if (read == ERROR_NO_MORE_ITEMS) break;
    if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) continue;
    command[bytes / sizeof(WCHAR)] = 0;
    if (SwitchedOff(root, root == HKEY_LOCAL_MACHINE ? KEY_WOW64_64KEY : 0, list, name) ||
        !RunCommandProgram(command, search->program, started, sizeof started, arguments, kLongestCommand) ||
        !SameFile(started, search->program)) {
      continue;
    }
    Add(search, name, static_cast<int>(nameLength), place, arguments);
  }
  RegCloseKey(key);
}

int FindOtherEntries(const char* program, const WCHAR* arguments, const char* except, OtherEntry* entries, int most) {
  Search search = {program, arguments, {0}, entries, most, 0};
  if (except != NULL) WidenPath(except, search.except, kPathSize);
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
