#include "tests/test_support.h"

#include <gtest/gtest.h>
#include <aclapi.h>
#include <objbase.h>
#include <sddl.h>
#include <shlobj.h>

#include <algorithm>

#include "base/system_dlls.h"
#include "startup/shortcut_writer.h"

namespace testing_support {

std::string Utf8(const std::string& cp932) {
  WCHAR wide[2048];
  char utf8[4096];
  if (MultiByteToWideChar(932, 0, cp932.c_str(), -1, wide, 2048) == 0) return cp932;
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, NULL, NULL);
  return utf8;
}

std::wstring Wide(const std::string& cp932) {
  WCHAR wide[2048];
  if (MultiByteToWideChar(932, 0, cp932.c_str(), -1, wide, 2048) == 0) return L"";
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  char narrow[4096];
  if (WideCharToMultiByte(932, 0, wide.c_str(), -1, narrow, sizeof narrow, NULL, NULL) == 0) return "<not CP932>";
  return narrow;
}

void WriteFileW(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  EXPECT_NE(file, INVALID_HANDLE_VALUE) << "cannot write a file named in UTF-16";
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

std::string Repeat(const std::string& text, int count) {
  std::string repeated;
  for (int i = 0; i < count; ++i) repeated += text;
  return repeated;
}

std::vector<FolderEntry> ListFolder(const std::string& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return entries;
}

std::set<std::string> FileNames(const std::string& folder) {
  std::set<std::string> names;
  for (const FolderEntry& entry : ListFolder(folder)) names.insert(entry.name);
  return names;
}

int CountFiles(const std::string& folder) {
  std::vector<FolderEntry> entries = ListFolder(folder);
  return static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const FolderEntry& e) { return !e.isFolder; }));
}

void RemoveTree(const std::string& path) {
  for (const FolderEntry& entry : ListFolder(path)) {
    std::string child = path + "\\" + entry.name;
    SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (entry.isFolder) {
      RemoveTree(child);
    } else {
      DeleteFileA(child.c_str());
    }
  }
  RemoveDirectoryA(path.c_str());
}

std::string FreshFolder(const std::string& name) {
  // Outside every user's profile folder, as installed programs are: a program
  // in one is told in the all-users scope.
  char drive[MAX_PATH] = "C:";
  GetEnvironmentVariableA("SystemDrive", drive, sizeof drive);
  std::string base = std::string(drive) + "\\tomavel-tests";
  CreateDirectoryA(base.c_str(), NULL);
  std::string folder = base + "\\" + name;
  // A chooser that browsed this folder in the test before may still hold it
  // open for a moment; then it cannot be removed, only emptied.
  bool ready = false;
  for (int attempt = 0; attempt < 100 && !ready; ++attempt) {
    RemoveTree(folder);
    ready = CreateDirectoryA(folder.c_str(), NULL) || (GetLastError() == ERROR_ALREADY_EXISTS && ListFolder(folder).empty());
    if (!ready) Sleep(20);
  }
  EXPECT_TRUE(ready) << "cannot create an empty " << Utf8(folder);
  return folder;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot write " << Utf8(path);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
  CloseHandle(file);
}

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, NULL) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

std::string ManifestAsking(const char* level, const std::string& before) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"><trustInfo "
         "xmlns=\"urn:schemas-microsoft-com:asm.v3\"><security><requestedPrivileges>" +
         before + "<requestedExecutionLevel level=\"" + level +
         "\" uiAccess=\"false\"/></requestedPrivileges></security></trustInfo></assembly>";
}

void WriteProgramWithManifest(const std::string& path, const std::string& manifest, const char* source) {
  ASSERT_TRUE(CopyFileA(source, path.c_str(), FALSE)) << Utf8(path);
  // Without a manifest: without any resource, as a program linked without
  // one. (Wine deletes no single resource: UpdateResource with no data
  // leaves it.)
  HANDLE update = BeginUpdateResourceA(path.c_str(), manifest.empty());
  ASSERT_TRUE(update) << "cannot update " << Utf8(path);
  if (!manifest.empty()) {
    EXPECT_TRUE(UpdateResourceA(update, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
                                const_cast<char*>(manifest.data()), static_cast<DWORD>(manifest.size())));
  }
  EXPECT_TRUE(EndUpdateResourceA(update, FALSE));
  if (manifest.empty()) {
    EXPECT_EQ(std::string::npos, ReadFileBytes(path).find("<assembly")) << "a manifest is left";
  }
}

void Write64BitProgram(const std::string& path) {
  char system[MAX_PATH];
  ASSERT_NE(0u, GetSystemDirectoryA(system, sizeof system));
  PVOID redirection = NULL;
  BOOL redirected = Wow64DisableWow64FsRedirection(&redirection);  // fails where there is none
  BOOL copied = CopyFileA((std::string(system) + "\\notepad.exe").c_str(), path.c_str(), FALSE);
  if (redirected) Wow64RevertWow64FsRedirection(redirection);
  ASSERT_TRUE(copied) << Utf8(path);
}

const char kStartupApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

void WriteRegistryValue(HKEY root, const char* key, REGSAM view, const char* name, DWORD type,
                        const std::string& bytes) {
  HKEY opened = NULL;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, key, 0, NULL, 0, KEY_SET_VALUE | view, NULL, &opened, NULL)) << key;
  EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(opened, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                          static_cast<DWORD>(bytes.size())))
      << Utf8(name);
  RegCloseKey(opened);
}

void DeleteRegistryValue(HKEY root, const char* key, REGSAM view, const char* name) {
  HKEY opened = NULL;
  if (RegOpenKeyExA(root, key, 0, KEY_SET_VALUE | view, &opened) != ERROR_SUCCESS) return;
  RegDeleteValueA(opened, name);
  RegCloseKey(opened);
}

std::string ReadRegistryValue(HKEY root, const char* key, REGSAM view, const char* name) {
  HKEY opened = NULL;
  char bytes[1024];
  DWORD size = sizeof bytes;
  bool read = RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE | view, &opened) == ERROR_SUCCESS &&
              RegQueryValueExA(opened, name, NULL, NULL, reinterpret_cast<BYTE*>(bytes), &size) == ERROR_SUCCESS;
  if (opened) RegCloseKey(opened);
  return read ? std::string(bytes, size) : "";
}

void LetEveryoneChange(const std::string& path) {
  PSECURITY_DESCRIPTOR descriptor = NULL;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x1301bf;;;WD)", SDDL_REVISION_1,
                                                                   &descriptor, NULL));
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = NULL;
  GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
  std::wstring wide = Wide(path);
  EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
            SetNamedSecurityInfoW(&wide[0], SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, NULL, NULL, dacl, NULL))
      << Utf8(path);
  LocalFree(descriptor);
}

RegistryValueGuard::RegistryValueGuard(HKEY root_, const char* key_, REGSAM view_, const char* name_)
    : root(root_), key(key_), view(view_), name(name_) {
  HKEY opened = NULL;
  char value[4096];
  DWORD size = sizeof value;
  existed = RegOpenKeyExA(root, key_, 0, KEY_QUERY_VALUE | view, &opened) == ERROR_SUCCESS &&
            RegQueryValueExA(opened, name_, NULL, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS;
  if (opened) RegCloseKey(opened);
  if (existed) bytes.assign(value, size);
}

RegistryValueGuard::~RegistryValueGuard() {
  if (existed) {
    WriteRegistryValue(root, key.c_str(), view, name.c_str(), type, bytes);
  } else {
    DeleteRegistryValue(root, key.c_str(), view, name.c_str());
  }
}

std::string StartupFolderOf(StartupScope scope) {
  char path[MAX_PATH] = "\x7f<sentinel>";
  HRESULT hr = SHGetFolderPathA(NULL, static_cast<int>(scope), NULL, SHGFP_TYPE_CURRENT, path);
  EXPECT_EQ(S_OK, hr) << "SHGetFolderPathA(" << scope << ")";
  return path;
}

HRESULT MakeShortcut(const std::string& path, const std::string& target, const std::string& workingDirectory,
                     const std::string& arguments) {
  EXPECT_EQ(1, BindSystemDlls(NULL, 0));
  HRESULT init = CoInitialize(NULL);
  EXPECT_TRUE(SUCCEEDED(init)) << std::hex << init;
  HRESULT written = CreateStartupShortcut(path.c_str(), target.c_str(), workingDirectory.c_str(), arguments.c_str());
  if (SUCCEEDED(init)) CoUninitialize();
  return written;
}

void ResetAppState() { ZeroMemory(&appState, sizeof appState); }

// Appends one line for tests/lnkinfo-check: the copy's name, then the
// expected target, working directory and arguments, tab-separated, in UTF-8.
static void RecordForLnkinfo(const std::string& path, const ShortcutFields& expected) {
  static int serial = 0;
  std::string folder = TOMAVEL_LNK_OUT_DIR;
  CreateDirectoryA(folder.c_str(), NULL);
  char name[64];
  wsprintfA(name, "%lu-%d.lnk", GetCurrentProcessId(), ++serial);
  ASSERT_TRUE(CopyFileA(path.c_str(), (folder + "\\" + name).c_str(), FALSE)) << "cannot copy " << Utf8(path);
  std::string line = std::string(name) + "\t" + Utf8(expected.target) + "\t" + Utf8(expected.workingDirectory) +
                     "\t" + Utf8(expected.arguments) + "\n";
  HANDLE list = CreateFileA((folder + "\\expected.tsv").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, NULL,
                            OPEN_ALWAYS, 0, NULL);
  ASSERT_NE(list, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(list, line.data(), static_cast<DWORD>(line.size()), &written, NULL);
  CloseHandle(list);
}

void ExpectShortcut(const std::string& path, const ShortcutFields& expected) {
  ASSERT_TRUE(FileExists(path)) << "no shortcut at " << Utf8(path);
  HRESULT init = CoInitialize(NULL);
  IShellLinkA* link = NULL;
  IPersistFile* file = NULL;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link));
  ASSERT_EQ(S_OK, hr);
  hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  EXPECT_EQ(S_OK, hr);
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
  if (file) {
    EXPECT_EQ(S_OK, file->Load(wide, STGM_READ));

    char text[1024] = "\x7f<sentinel>";
    link->GetPath(text, sizeof text, NULL, SLGP_RAWPATH);
    EXPECT_EQ(Utf8(expected.target), Utf8(text)) << "target";
    lstrcpyA(text, "\x7f<sentinel>");
    link->GetWorkingDirectory(text, sizeof text);
    EXPECT_EQ(Utf8(expected.workingDirectory), Utf8(text)) << "working directory";
    lstrcpyA(text, "\x7f<sentinel>");
    link->GetArguments(text, sizeof text);
    EXPECT_EQ(Utf8(expected.arguments), Utf8(text)) << "arguments";
    lstrcpyA(text, "\x7f<sentinel>");
    link->GetDescription(text, sizeof text);
    EXPECT_STREQ("", text) << "description";
    int show = -1;
    link->GetShowCmd(&show);
    EXPECT_EQ(SW_SHOWNORMAL, show) << "show command";
    lstrcpyA(text, "\x7f<sentinel>");
    int iconIndex = -1;
    link->GetIconLocation(text, sizeof text, &iconIndex);
    EXPECT_STREQ("", text) << "icon location";
    EXPECT_EQ(0, iconIndex) << "icon index";
  }
  if (file) file->Release();
  if (link) link->Release();
  if (SUCCEEDED(init)) CoUninitialize();

  // The file itself: ShowCommand is the 32-bit field at byte 0x3C.
  std::string bytes = ReadFileBytes(path);
  ASSERT_GE(bytes.size(), 0x40u) << "shortcut file too short";
  EXPECT_EQ(0x4C, static_cast<unsigned char>(bytes[0])) << "header size";
  DWORD showField = 0;
  CopyMemory(&showField, bytes.data() + 0x3C, sizeof showField);
  EXPECT_EQ(1u, showField) << "ShowCommand field at 0x3C";
  RecordForLnkinfo(path, expected);
}

}  // namespace testing_support
