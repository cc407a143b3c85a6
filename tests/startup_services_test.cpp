// The Startup folder lookup and the shortcut writer against Wine's real shell.
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>
#include <shlobj.h>

#include "base/error_mode.h"
#include "base/run_time_binding.h"
#include "base/same_file.h"
#include "base/system_dlls.h"
#include "startup/file_security.h"
#include "startup/other_entries.h"
#include "startup/program_place.h"
#include "startup/startup_approved.h"
#include "startup/startup_folder.h"
#include "tests/test_support.h"
#include "tests/ui_driver.h"

using namespace testing_support;

namespace {

// Where a function of the process really comes from.
std::string ModuleOf(const void* function) {
  HMODULE module = NULL;
  char path[MAX_PATH] = "\x7f<sentinel>";
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         static_cast<LPCSTR>(function), &module))
    GetModuleFileNameA(module, path, sizeof path);
  return path;
}

TEST(SystemDlls, EveryFunctionIsBoundFromTheSystemFolderAndAMissingOneIsNamed) {
  char missing[128];
  memset(missing, 0x7f, sizeof missing);
  ASSERT_EQ(1, BindSystemDlls(missing, sizeof missing));
  EXPECT_STREQ("", missing);
  char system[MAX_PATH];
  GetSystemDirectoryA(system, sizeof system);
  // The record is function pointers only; the system may forward one to
  // another of its DLLs (Wine's ole32 to combase), but never leave its folder.
  FARPROC slots[sizeof systemDlls / sizeof(FARPROC)];
  memcpy(slots, &systemDlls, sizeof slots);
  for (FARPROC slot : slots) {
    ASSERT_NE(nullptr, slot);
    std::string module = ModuleOf(reinterpret_cast<const void*>(slot));
    EXPECT_EQ(0, lstrcmpiA(system, module.substr(0, module.rfind('\\')).c_str())) << "bound from " << module;
  }
  FARPROC unbound;
  memset(&unbound, 0x7f, sizeof unbound);
  EXPECT_EQ(0, BindFunction(LoadSystemDll("comdlg32.dll"), "NoSuchFunction", &unbound));
  EXPECT_EQ(nullptr, unbound) << "a slot left null";
  EXPECT_EQ(nullptr, LoadSystemDll("no-such-library.dll"));
}

TEST(StartupFolder, EachScopeGivesItsOwnFolder) {
  ASSERT_EQ(1, BindSystemDlls(NULL, 0));
  char user[260], all[260];
  memset(user, 0x7f, sizeof user);
  memset(all, 0x7f, sizeof all);
  ASSERT_EQ(kFolderFound, GetStartupFolderPath(NULL, user, kScopeUser));
  ASSERT_EQ(kFolderFound, GetStartupFolderPath(NULL, all, kScopeAllUsers));
  EXPECT_EQ(StartupFolderOf(kScopeUser), user);
  EXPECT_EQ(StartupFolderOf(kScopeAllUsers), all);
  EXPECT_STRNE(user, all);
  EXPECT_NE('\\', user[lstrlenA(user) - 1]) << "no trailing backslash";
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(user));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(all));
}

TEST(StartupFolder, AFolderWithoutAFileSystemPathGivesZeroAndShowsNothing) {
  ASSERT_EQ(1, BindSystemDlls(NULL, 0));
  size_t windowsBefore = ui::VisibleWindows().size();
  char path[260] = "\x7f<sentinel>";
  EXPECT_EQ(kFolderNotFound, GetStartupFolderPath(NULL, path, CSIDL_DRIVES));  // "My Computer"
  EXPECT_EQ(kFolderNotFound, GetStartupFolderPath(NULL, path, 0x7777));        // no such folder
  EXPECT_EQ(windowsBefore, ui::VisibleWindows().size());
}

// Explorer reads the all-users entries in the registry's 64-bit view. Under
// WoW64 the 32-bit program's own view of HKLM\Software is another key
// (Wow6432Node): a contrary value there counts for nothing.
TEST(StartupApproved, TheAllUsersStateIsReadFromThe64BitView) {
  for (char in64 : {'\x03', '\x02'}) {
    SCOPED_TRACE("first byte in the 64-bit view " + std::to_string(in64));
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kStartupApprovedKey, KEY_WOW64_64KEY, "Views.lnk", REG_BINARY,
                       std::string(1, in64) + std::string(11, '\0'));
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kStartupApprovedKey, KEY_WOW64_32KEY, "Views.lnk", REG_BINARY,
                       std::string(1, static_cast<char>(in64 ^ 1)) + std::string(11, '\0'));
    EXPECT_EQ(in64 & 1, SwitchedOffInWindows(kScopeAllUsers, L"Views.lnk"));
  }
  for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY})
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kStartupApprovedKey, view, "Views.lnk");
}

// Task Manager writes 12 bytes; a longer value still counts by its first.
TEST(StartupApproved, ALongerValueCountsByItsFirstByte) {
  WriteRegistryValue(HKEY_CURRENT_USER, kStartupApprovedKey, 0, "Long.lnk", REG_BINARY, "\x03" + std::string(39, '\0'));
  EXPECT_EQ(1, SwitchedOffInWindows(kScopeUser, L"Long.lnk"));
  DeleteRegistryValue(HKEY_CURRENT_USER, kStartupApprovedKey, 0, "Long.lnk");
}

class ShortcutWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshFolder("writer");
    program_ = folder_ + "\\prog\\app.exe";
    CreateDirectoryA((folder_ + "\\prog").c_str(), NULL);
    WriteFileBytes(program_, "MZ");
  }
  void TearDown() override { RemoveTree(folder_); }
  HRESULT Write(const std::string& shortcut, const char* arguments) {
    return MakeShortcut(shortcut, program_, folder_ + "\\prog", arguments);
  }
  std::string folder_, program_;
};

TEST_F(ShortcutWriter, WritesEveryFieldAsGiven) {
  std::string shortcut = folder_ + "\\テスト.lnk";
  EXPECT_EQ(S_OK, Write(shortcut, "--start \"a b\" 表示"));
  EXPECT_SHORTCUT(shortcut, {program_, folder_ + "\\prog", "--start \"a b\" 表示"});
}

TEST_F(ShortcutWriter, EmptyArgumentsGiveNone) {
  std::string shortcut = folder_ + "\\plain.lnk";
  EXPECT_EQ(S_OK, Write(shortcut, ""));
  EXPECT_SHORTCUT(shortcut, {program_, folder_ + "\\prog", ""});
}

TEST_F(ShortcutWriter, ReplacesAnExistingFile) {
  std::string shortcut = folder_ + "\\same.lnk";
  WriteFileBytes(shortcut, "not a shortcut");
  EXPECT_EQ(S_OK, Write(shortcut, "-x"));
  EXPECT_SHORTCUT(shortcut, {program_, folder_ + "\\prog", "-x"});
}

TEST_F(ShortcutWriter, FailsWithoutWritingWhenTheFolderIsMissing) {
  std::string shortcut = folder_ + "\\missing\\a.lnk";
  HRESULT hr = Write(shortcut, "");
  EXPECT_LT(hr, 0) << std::hex << hr;
  EXPECT_FALSE(FileExists(shortcut));
}

TEST_F(ShortcutWriter, FailsWithoutWritingForNamesFilesMayNotHave) {
  for (const char* name : {"a?b.lnk", "a*b.lnk", "a|b.lnk", "a<b>.lnk", "a\"b.lnk"}) {
    SCOPED_TRACE(name);
    HRESULT hr = Write(folder_ + "\\" + name, "");
    EXPECT_LT(hr, 0) << std::hex << hr;
  }
  EXPECT_EQ(0, CountFiles(folder_));
}

// --- What decides alone whether a program is named -----------------------

// The same file as Windows compares names: case aside, a short (8.3) form the
// same as its long one, . and .. resolved; another name is another file.
// Names come before disks: a short form on a network drive (N: here) or a
// UNC path is never looked up, so there it is only its own name, although
// the disk behind N: would make it long.
// A program with a long name in a new folder of that name below folder;
// its short (8.3) form, as the disk gives it, in *shortForm.
std::string LongNamedProgram(const std::string& folder, std::string* shortForm) {
  CreateDirectoryA(folder.c_str(), NULL);
  CreateDirectoryA((folder + "\\Long Folder Name").c_str(), NULL);
  std::string program = folder + "\\Long Folder Name\\Program With Spaces.exe";
  WriteFileBytes(program, "MZ");
  char found[MAX_PATH] = "<sentinel>";
  EXPECT_GT(GetShortPathNameA(program.c_str(), found, MAX_PATH), 0u);
  EXPECT_NE(std::string::npos, std::string(found).find('~')) << found;
  *shortForm = found;
  return program;
}

TEST_F(ShortcutWriter, SameFileComparesNamesAsWindowsDoes) {
  std::string remote = "N:\\tomavel-same", remoteShort, shortForm;
  std::string remoteProgram = LongNamedProgram(remote, &remoteShort);
  std::string program = LongNamedProgram(folder_, &shortForm);
  std::string folder = folder_ + "\\Long Folder Name";
  std::string upper = program;
  CharUpperA(&upper[0]);
  const struct {
    std::string other;
    int same;
  } kPaths[] = {{program, 1},
                {upper, 1},
                {shortForm, 1},
                {folder_ + "\\prog\\..\\Long Folder Name\\.\\Program With Spaces.exe", 1},
                {folder + "\\Program With Spaces.ex", 0},
                {folder + "\\Program  With Spaces.exe", 0},
                {folder_ + "\\prog\\app.exe", 0}};
  for (const auto& row : kPaths) {
    EXPECT_EQ(row.same, SameFile(program.c_str(), row.other.c_str())) << Utf8(row.other);
    EXPECT_EQ(row.same, SameFile(row.other.c_str(), program.c_str())) << "turned round: " << Utf8(row.other);
  }
  const struct {
    std::string a, b;
    int same;
  } kUntouched[] = {{remoteProgram, "n:\\TOMAVEL-SAME\\long folder name\\program with spaces.EXE", 1},
                    {remoteProgram, remoteShort, 0},
                    {"\\\\server\\share\\Long Name.exe", "\\\\SERVER\\Share\\long name.exe", 1},
                    {"\\\\server\\share\\Long Name.exe", "\\\\server\\share\\LONGNA~1.EXE", 0}};
  for (const auto& row : kUntouched) EXPECT_EQ(row.same, SameFile(row.a.c_str(), row.b.c_str())) << row.a << " " << row.b;
  RemoveTree(remote);
}

// A Run value's program, read as Windows reads a command line.
TEST_F(ShortcutWriter, TheRunCommandReaderFindsTheProgramAsWindowsDoes) {
  std::string spaced = folder_ + "\\two words";
  CreateDirectoryA(spaced.c_str(), NULL);
  WriteFileBytes(spaced + "\\tool.exe", "MZ");
  WriteFileBytes(folder_ + "\\two.exe", "MZ");
  SetEnvironmentVariableA("TOMAVEL_TEST_FOLDER", folder_.c_str());
  // N: is a network drive: there only the program sought is looked for.
  std::string remote = "N:\\tomavel-run";
  CreateDirectoryA(remote.c_str(), NULL);
  CreateDirectoryA((remote + "\\two words").c_str(), NULL);
  WriteFileBytes(remote + "\\two words\\tool.exe", "MZ");
  WriteFileBytes(remote + "\\two.exe", "MZ");
  // The variables of the 64-bit Explorer that runs Run values, whatever this
  // process's own: under WoW64 its ProgramFiles is the (x86) folder.
  char programFiles64[MAX_PATH] = "<sentinel>", commonFiles64[MAX_PATH] = "<sentinel>", programFiles32[MAX_PATH] = "";
  ASSERT_GT(GetEnvironmentVariableA("ProgramW6432", programFiles64, MAX_PATH), 0u);
  ASSERT_GT(GetEnvironmentVariableA("CommonProgramW6432", commonFiles64, MAX_PATH), 0u);
  ASSERT_GT(GetEnvironmentVariableA("ProgramFiles(x86)", programFiles32, MAX_PATH), 0u);
  const struct {
    std::string command;
    std::string program;  // empty: none
    std::string arguments;
    const char* sought = nullptr;
  } kCommands[] = {
      {"\"" + program_ + "\" --tray", program_, " --tray"},
      {"  \"" + spaced + "\\tool.exe\"", spaced + "\\tool.exe", ""},
      {spaced + "\\tool.exe /min", folder_ + "\\two.exe", " words\\tool.exe /min"},  // the shortest start naming a file
      {spaced + "\\tool.exe /min", folder_ + "\\two.exe", " words\\tool.exe /min", "C:\\x\\tool.exe"},  // a local disk is asked
      {remote + "\\two words\\tool.exe /min", remote + "\\two words\\tool.exe", " /min",
       "N:\\tomavel-run\\two words\\TOOL.EXE"},  // N:\two.exe is not asked
      {remote + "\\two words\\tool.exe /min", "", "", "C:\\x\\tool.exe"},
      {folder_ + "\\prog\\app /x", program_, " /x"},  // .exe added
      {"%TOMAVEL_TEST_FOLDER%\\prog\\app.exe %TOMAVEL_TEST_FOLDER%", program_, " " + folder_},  // expanded
      {"\"%TOMAVEL_TEST_FOLDER%\\prog\\app\" -a", program_, " -a"},
      {"\"%ProgramFiles%\\Tomavel Test\\app.exe\"", std::string(programFiles64) + "\\Tomavel Test\\app.exe", ""},
      {"\"%programfiles%\\a.exe\" %CommonProgramFiles%", std::string(programFiles64) + "\\a.exe", std::string(" ") + commonFiles64},
      {"\"%ProgramFiles(x86)%\\a.exe\"", std::string(programFiles32) + "\\a.exe", ""},
      {"app.exe --tray", "", ""},  // a bare name: looked for along the path
      {"\"" + program_, program_, ""},  // an unclosed quote runs to the end
      {folder_ + "\\missing.exe -a", "", ""},
      {"", "", ""}};
  for (const auto& row : kCommands) {
    char program[MAX_PATH];
    WCHAR arguments[MAX_PATH];
    memset(program, 0x7f, sizeof program);
    wmemset(arguments, 0x7f7f, MAX_PATH);
    std::wstring command = Wide(row.command);
    int found = RunCommandProgram(command.c_str(), row.sought, program, sizeof program, arguments, MAX_PATH);
    EXPECT_EQ(row.program.empty() ? 0 : 1, found) << Utf8(row.command);
    if (found) {
      EXPECT_EQ(Utf8(row.program), Utf8(program)) << Utf8(row.command);
      EXPECT_EQ(Utf8(row.arguments), Utf8(Narrow(arguments))) << Utf8(row.command);
    }
  }
  SetEnvironmentVariableA("TOMAVEL_TEST_FOLDER", NULL);
  RemoveTree(remote);
}

// Whether a user who is not an administrator can change a file or a folder,
// judged from its security descriptor as AccessCheck would judge it for a
// standard user's token.
TEST(FileSecurity, OnlyWhatEveryUserHoldsCountsInTheOrderAccessCheckReads) {
  const struct {
    const wchar_t* sddl;
    DWORD rights;
    int changes;
  } kDacls[] = {
      {nullptr, kChangeFileRights, 1},                                       // a null DACL grants everything
      {L"D:(A;;FR;;;WD)(A;;FA;;;BA)(A;;FA;;;SY)", kChangeFileRights, 0},    // Everyone may only read
      {L"D:(A;;0x1301bf;;;AU)", kChangeFileRights, 1},                      // Authenticated Users: modify
      {L"D:(A;;0x1200a9;;;BU)(A;;0x2;;;BU)", kChangeFolderRights, 1},        // Users: add a file
      {L"D:(A;;0x1200a9;;;BU)(A;;0x40;;;BU)", kChangeFolderRights, 1},       // Users: delete what is in it
      {L"D:(A;;0x1200a9;;;BU)(A;;0x40;;;BU)", kChangeFileRights, 0},         // ...which is no right on a file
      {L"D:(A;;0x10000;;;IU)", kChangeFileRights, 1},                       // INTERACTIVE: delete
      {L"D:(D;;FA;;;WD)(A;;FA;;;AU)", kChangeFileRights, 0},                 // a deny before an allow
      {L"D:(A;;FA;;;AU)(D;;FA;;;WD)", kChangeFileRights, 1},                 // an allow before a deny
      {L"D:(D;;0x2;;;WD)(A;;0x1301bf;;;AU)", kChangeFileRights, 1},          // denied writing, granted deleting
      {L"D:(D;;0x10002;;;WD)(A;;0x1301bf;;;AU)", kChangeFileRights, 0},      // denied both
      {L"D:(A;OICIIO;FA;;;AU)(A;;0x1200a9;;;AU)", kChangeFolderRights, 0},   // inherit-only: for what is below
      {L"D:(A;;GW;;;BU)", kChangeFileRights, 1},                             // generic write, mapped
      {L"D:(A;;GR;;;BU)(A;;GX;;;BU)", kChangeFileRights, 0},
      {L"D:(A;;FA;;;S-1-5-21-1-2-3-1001)(A;;FA;;;BA)", kChangeFileRights, 0},  // one user, administrators
      {L"D:", kChangeFileRights, 0}};                                         // an empty DACL grants nothing
  for (const auto& row : kDacls) {
    std::string shown = row.sddl ? Narrow(row.sddl) : "a null DACL";
    PSECURITY_DESCRIPTOR descriptor = NULL;
    SECURITY_DESCRIPTOR nullDacl;
    if (row.sddl) {
      ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(row.sddl, SDDL_REVISION_1, &descriptor, NULL))
          << shown;
    } else {
      ASSERT_TRUE(InitializeSecurityDescriptor(&nullDacl, SECURITY_DESCRIPTOR_REVISION));
      ASSERT_TRUE(SetSecurityDescriptorDacl(&nullDacl, TRUE, NULL, FALSE));
    }
    EXPECT_EQ(row.changes, StandardUsersGet(row.sddl ? descriptor : &nullDacl, row.rights)) << shown;
    if (descriptor) LocalFree(descriptor);
  }
}

// A program in a user's own folder cannot be opened by the other users. A
// user's folder is one ProfileList names for a user (S-1-5-21-...), wherever
// it lies, or a folder of its ProfilesDirectory that none of Public, Default
// and AllUsersProfile names (an account whose key was removed).
TEST(ProgramPlace, AProgramInAUsersOwnFolderIsOneOnlyThatUserCanOpen) {
  const char kList[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
  const std::string kMovedKey = std::string(kList) + "\\S-1-5-21-1-2-3-1500";
  const std::string kServiceKey = std::string(kList) + "\\S-1-5-19";
  char profile[MAX_PATH], publicFolder[MAX_PATH];
  ASSERT_GT(GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH), 0u);
  ASSERT_GT(GetEnvironmentVariableA("PUBLIC", publicFolder, MAX_PATH), 0u);
  std::string profiles(profile, strrchr(profile, '\\'));
  std::string moved = FreshFolder("moved profile");
  RegistryValueGuard defaultValue(HKEY_LOCAL_MACHINE, kList, KEY_WOW64_64KEY, "Default");
  RegistryValueGuard allUsersValue(HKEY_LOCAL_MACHINE, kList, KEY_WOW64_64KEY, "AllUsersProfile");
  WriteRegistryValue(HKEY_LOCAL_MACHINE, kList, KEY_WOW64_64KEY, "Default", REG_EXPAND_SZ,
                     profiles + "\\Default" + '\0');
  WriteRegistryValue(HKEY_LOCAL_MACHINE, kList, KEY_WOW64_64KEY, "AllUsersProfile", REG_SZ, std::string("All Users") + '\0');
  // A moved user's profile, and a service's (no user's) elsewhere.
  WriteRegistryValue(HKEY_LOCAL_MACHINE, kMovedKey.c_str(), KEY_WOW64_64KEY, "ProfileImagePath", REG_EXPAND_SZ,
                     moved + "\\someone" + '\0');
  WriteRegistryValue(HKEY_LOCAL_MACHINE, kServiceKey.c_str(), KEY_WOW64_64KEY, "ProfileImagePath", REG_EXPAND_SZ,
                     moved + "\\LocalService" + '\0');
  const struct {
    std::string path;
    int own;
  } kPaths[] = {{std::string(profile) + "\\tomavel\\app.exe", 1},
                {std::string(profile) + "\\app.exe", 1},
                {profiles + "\\SomeoneElse\\app.exe", 1},
                {moved + "\\someone\\tools\\app.exe", 1},
                {moved + "\\LocalService\\app.exe", 0},
                {moved + "\\app.exe", 0},
                {std::string(publicFolder) + "\\tomavel\\app.exe", 0},
                {profiles + "\\Default\\app.exe", 0},
                {profiles + "\\All Users\\app.exe", 0},
                {profiles + "\\app.exe", 0},
                {profiles + "x\\someone\\app.exe", 0},
                {"C:\\Program Files\\app.exe", 0}};
  for (const auto& row : kPaths) EXPECT_EQ(row.own, InAUsersProfileFolder(row.path.c_str())) << Utf8(row.path);
  for (const std::string& key : {kMovedKey, kServiceKey}) RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), KEY_WOW64_64KEY, 0);
  RemoveTree(moved);
}

// Every entry that starts the program counts, whatever its name: one the code
// page cannot hold is shown with its default character (nothing is named or
// opened by what is shown). In the 32-bit program under WoW64 a Run value's
// %ProgramFiles% is the 64-bit folder, as for the 64-bit Explorer that runs
// it; the (x86) program is not started by it.
TEST(OtherEntries, EveryEntryCountsAndRunValuesReadAsTheSixtyFourBitExplorerDoes) {
  const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  char programFiles64[MAX_PATH] = "", programFiles32[MAX_PATH] = "";
  ASSERT_GT(GetEnvironmentVariableA("ProgramW6432", programFiles64, MAX_PATH), 0u);
  ASSERT_GT(GetEnvironmentVariableA("ProgramFiles(x86)", programFiles32, MAX_PATH), 0u);
  std::string program64 = std::string(programFiles64) + "\\Tomavel Test\\app.exe";
  std::string program32 = std::string(programFiles32) + "\\Tomavel Test\\app.exe";
  for (const std::string& program : {program64, program32}) {
    CreateDirectoryA(program.substr(0, program.rfind('\\')).c_str(), NULL);
    WriteFileBytes(program, "MZ");
  }
  std::wstring accented = Wide(StartupFolderOf(kScopeUser)) + L"\\caf\u00E9.lnk";
  ASSERT_EQ(1, BindSystemDlls(NULL, 0));
  ASSERT_TRUE(SUCCEEDED(CoInitialize(NULL)));
  {
    RegistryValueGuard value(HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_64KEY, "Tomavel Test");
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_64KEY, "Tomavel Test", REG_EXPAND_SZ,
                       std::string("\"%ProgramFiles%\\Tomavel Test\\app.exe\"") + '\0');
    std::string made = StartupFolderOf(kScopeUser) + "\\made.lnk";
    ASSERT_EQ(S_OK, MakeShortcut(made, program64));
    ASSERT_TRUE(MoveFileW(Wide(made).c_str(), accented.c_str()));
    CPINFO info;
    ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
    OtherEntry entries[4];
    memset(entries, 0x7f, sizeof entries);
    ASSERT_EQ(2, FindOtherEntries(program64.c_str(), L"", NULL, entries, 4));
    EXPECT_EQ("caf" + std::string(1, static_cast<char>(info.DefaultChar[0])), std::string(entries[0].name));
    EXPECT_EQ(kUserStartupFolder, entries[0].place);
    EXPECT_EQ("Tomavel Test", std::string(entries[1].name));
    EXPECT_EQ(kAllUsersRegistry, entries[1].place);
    EXPECT_EQ(0, entries[1].otherArguments);
    EXPECT_EQ(0, FindOtherEntries(program32.c_str(), L"", NULL, entries, 4)) << "the (x86) program";
  }
  CoUninitialize();
  DeleteFileW(accented.c_str());
  RemoveTree(program64.substr(0, program64.rfind('\\')));
  RemoveTree(program32.substr(0, program32.rfind('\\')));
}

// The system's "no disk" box never stops the program: the entry adds the
// flags that keep it away, and keeps whatever else the mode held.
TEST(ErrorMode, CriticalErrorsAreSilencedAndTheRestIsKept) {
  UINT before = SetErrorMode(SEM_NOGPFAULTERRORBOX);
  SilenceCriticalErrors();
  EXPECT_EQ(static_cast<UINT>(SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX), GetErrorMode());
  SetErrorMode(before);
}

TEST_F(ShortcutWriter, RefusesAPathBeyondTheLimitInsteadOfCuttingIt) {
  std::string shortcut = folder_ + "\\" + std::string(300, 'x') + ".lnk";
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE), Write(shortcut, ""));
  EXPECT_EQ(0, CountFiles(folder_));
}

}  // namespace
