// Files, folders and shortcut read-back shared by the test programs.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "flows/app_state.h"

namespace testing_support {

// CP932 text as UTF-8, so that failures print readable Japanese.
std::string Utf8(const std::string& cp932);
// CP932 text in UTF-16, to join names the code page cannot hold.
std::wstring Wide(const std::string& cp932);
// UTF-16 text as CP932.
std::string Narrow(const std::wstring& wide);
// Creates (or empties) a file named in UTF-16.
void WriteFileW(const std::wstring& path);

struct FolderEntry {
  std::string name;
  bool isFolder;
};
// What a folder holds, without "." and "..": the one folder listing.
std::vector<FolderEntry> ListFolder(const std::string& folder);
// Names of everything in the folder.
std::set<std::string> FileNames(const std::string& folder);
int CountFiles(const std::string& folder);  // files only, not folders

// text, count times over.
std::string Repeat(const std::string& text, int count);

// A new, empty folder below the system drive's tomavel-tests; earlier
// contents are gone.
std::string FreshFolder(const std::string& name);
void RemoveTree(const std::string& path);
bool FileExists(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);

// A manifest that asks for the execution level (requireAdministrator,
// highestAvailable, asInvoker), with before (a comment, say) just before the
// element that asks.
std::string ManifestAsking(const char* level, const std::string& before = "");
// A copy of a program (this build's, unless source names another) holding
// manifest (its bytes as they are) as its manifest; an empty one leaves it none.
void WriteProgramWithManifest(const std::string& path, const std::string& manifest, const char* source = TOMAVEL_EXE);
// A copy of a 64-bit program of the system's (its notepad, whose manifest
// asks for no run level), taken from the 64-bit system folder by this
// process too when it runs under WoW64.
void Write64BitProgram(const std::string& path);

// Where Windows keeps which Startup entries Task Manager switched off.
extern const char kStartupApprovedKey[];
// Writes a value of type under root\key, in the registry view that view
// names (KEY_WOW64_64KEY, KEY_WOW64_32KEY or 0), creating the key.
void WriteRegistryValue(HKEY root, const char* key, REGSAM view, const char* name, DWORD type,
                        const std::string& bytes);
void DeleteRegistryValue(HKEY root, const char* key, REGSAM view, const char* name);
// The bytes of a value (up to 1 KiB), empty where there is none.
std::string ReadRegistryValue(HKEY root, const char* key, REGSAM view, const char* name);

// Lets everyone change the file or folder at path: an allow ACE for
// Everyone with modify rights, which Wine writes back as the others' write
// bit (and reads back as Everyone's full access).
void LetEveryoneChange(const std::string& path);

// Puts a registry value back as it was (or gone, where there was none) when
// it goes out of scope, also when an ASSERT leaves a test early: a test that
// changes a value for the whole machine must not leave it to the next.
struct RegistryValueGuard {
  RegistryValueGuard(HKEY root, const char* key, REGSAM view, const char* name);
  ~RegistryValueGuard();
  HKEY root;
  std::string key;
  REGSAM view;
  std::string name;
  bool existed = false;
  DWORD type = 0;
  std::string bytes;
};

// The Startup folder of a scope, found through another shell call than the
// program uses, so a wrong lookup cannot confirm itself.
std::string StartupFolderOf(StartupScope scope);

// Writes a shortcut at path to target through the program's own writer,
// with COM set up and taken down around it; the writer's result.
HRESULT MakeShortcut(const std::string& path, const std::string& target, const std::string& workingDirectory = "",
                     const std::string& arguments = "");

// The program's process-wide state back to its zero-filled start.
void ResetAppState();

struct ShortcutFields {
  std::string target;
  std::string workingDirectory;
  std::string arguments;
};

// Loads the shortcut into a fresh shell link object and compares every
// field: target, working directory, arguments, show command 1, no
// description, no icon location; then reads the show command from the file
// bytes. Records the file for the lnkinfo read-back. Call through
// EXPECT_SHORTCUT so that a failure names the caller's line.
void ExpectShortcut(const std::string& path, const ShortcutFields& expected);

}  // namespace testing_support

#define EXPECT_SHORTCUT(path, ...)                               \
  do {                                                            \
    SCOPED_TRACE("shortcut " + testing_support::Utf8(path));     \
    testing_support::ExpectShortcut(path, __VA_ARGS__);           \
  } while (0)
