// The built programs as they ship: their resources field by field, read
// from the files' bytes and, for the program of this build, also through the
// platform's own resource loader; then what they import, what kind of program
// they are, and their size.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "base/run_time_binding.h"
#include "tests/pe_file.h"
#include "tests/test_support.h"

using testing_support::Narrow;
using testing_support::ReadFileBytes;
using testing_support::Utf8;
using testing_support::Wide;

namespace {

struct Control {
  DWORD style;
  short x, y, cx, cy;
  WORD id;
  WORD classAtom;  // 0x80 button, 0x81 edit
  const char* text;
};

struct Template {
  DWORD style;
  short cx, cy;
  const char* caption;
  std::vector<Control> controls;
};

const Template kMainTemplate = {0x80C800C0, 251, 98, "Tomavel",
                                {{0x50010001, 121, 25, 50, 14, 1008, 0x80, "終　了"},
                                 {0x50010000, 15, 25, 79, 14, 1009, 0x80, "スタートアップに登録"},
                                 {0x50010000, 15, 57, 80, 14, 1010, 0x80, "スタートアップから削除"},
                                 {0x50000007, 121, 47, 112, 34, 1014, 0x80, ""},
                                 {0x50020009, 122, 54, 108, 10, 1015, 0x80, "ログインユーザーのみに適用"},
                                 {0x50000009, 122, 67, 96, 10, 1016, 0x80, "すべてのユーザーに適用"}}};

const Template kTitleTemplate = {0x80C800C0, 270, 84, "Tomavel",
                                 {{0x50010001, 213, 8, 50, 14, 1002, 0x80, "OK"},
                                  {0x50010000, 213, 47, 50, 14, 1003, 0x80, "ｷｬﾝｾﾙ"},
                                  {0x50810080, 7, 21, 177, 12, 1001, 0x81, ""},
                                  {0x50810080, 7, 66, 177, 12, 1004, 0x81, ""}}};

// Reads a plain DLGTEMPLATE with its words in order.
struct Reader {
  const std::string& bytes;
  size_t at = 0;
  bool ok = true;
  WORD Word() {
    if (at + 2 > bytes.size()) {
      ok = false;
      return 0;
    }
    WORD w;
    memcpy(&w, bytes.data() + at, 2);
    at += 2;
    return w;
  }
  DWORD Dword() {
    DWORD low = Word();
    return low | (static_cast<DWORD>(Word()) << 16);
  }
  // A zero-terminated UTF-16 string, given back in CP932.
  std::string Text() {
    std::wstring wide;
    for (WORD c = Word(); ok && c != 0; c = Word()) wide += static_cast<wchar_t>(c);
    char narrow[512] = "";
    WideCharToMultiByte(932, 0, wide.c_str(), -1, narrow, sizeof narrow, NULL, NULL);
    return narrow;
  }
  void AlignDword() { at = (at + 3) & ~static_cast<size_t>(3); }
};

void ExpectTemplate(const std::string& bytes, const Template& expected) {
  Reader r{bytes};
  EXPECT_EQ(expected.style, r.Dword()) << "style";
  EXPECT_EQ(0u, r.Dword()) << "extended style";
  WORD count = r.Word();
  EXPECT_EQ(expected.controls.size(), count) << "control count";
  EXPECT_EQ(0, static_cast<short>(r.Word())) << "x";
  EXPECT_EQ(0, static_cast<short>(r.Word())) << "y";
  EXPECT_EQ(expected.cx, static_cast<short>(r.Word())) << "width";
  EXPECT_EQ(expected.cy, static_cast<short>(r.Word())) << "height";
  EXPECT_EQ(0, r.Word()) << "menu";
  EXPECT_EQ(0, r.Word()) << "class";
  EXPECT_EQ(expected.caption, r.Text()) << "caption";
  EXPECT_EQ(11, r.Word()) << "point size";
  EXPECT_EQ(Utf8("ＭＳ Ｐゴシック"), Utf8(r.Text())) << "font";
  for (size_t i = 0; i < count && i < expected.controls.size(); ++i) {
    const Control& c = expected.controls[i];
    SCOPED_TRACE("control " + std::to_string(c.id));
    r.AlignDword();
    EXPECT_EQ(c.style, r.Dword()) << "style";
    EXPECT_EQ(0u, r.Dword()) << "extended style";
    EXPECT_EQ(c.x, static_cast<short>(r.Word())) << "x";
    EXPECT_EQ(c.y, static_cast<short>(r.Word())) << "y";
    EXPECT_EQ(c.cx, static_cast<short>(r.Word())) << "width";
    EXPECT_EQ(c.cy, static_cast<short>(r.Word())) << "height";
    EXPECT_EQ(c.id, r.Word()) << "id";
    EXPECT_EQ(0xFFFF, r.Word()) << "class given by atom";
    EXPECT_EQ(c.classAtom, r.Word()) << "class atom";
    EXPECT_EQ(Utf8(c.text), Utf8(r.Text())) << "text";
    EXPECT_EQ(0, r.Word()) << "creation data";
  }
  EXPECT_TRUE(r.ok) << "template shorter than its controls";
}

const pe::Resource* Find(const pe::File& file, int type, const char* name) {
  auto found = std::find_if(file.resources.begin(), file.resources.end(),
                            [&](const pe::Resource& r) { return r.type == type && r.name == name; });
  return found == file.resources.end() ? nullptr : &*found;
}

std::string VersionString(const pe::VersionNode& root, const wchar_t* key) {
  for (const pe::VersionNode& info : root.children) {
    if (info.key != L"StringFileInfo") continue;
    for (const pe::VersionNode& table : info.children) {
      if (table.key != L"041104b0") continue;
      for (const pe::VersionNode& value : table.children) {
        if (value.key != key) continue;
        std::wstring wide(reinterpret_cast<const wchar_t*>(value.value.data()), value.value.size() / 2);
        while (!wide.empty() && wide.back() == 0) wide.pop_back();
        char narrow[512] = "";
        WideCharToMultiByte(932, 0, wide.c_str(), -1, narrow, sizeof narrow, NULL, NULL);
        return narrow;
      }
    }
  }
  return "<missing>";
}

void ExpectResources(const pe::File& file) {
  // Exactly these resources, all Japanese.
  std::set<std::string> seen;
  for (const pe::Resource& r : file.resources) {
    seen.insert(std::to_string(r.type) + "/" + r.name);
    EXPECT_EQ(0x0411, r.language) << "language of " << r.type << "/" << r.name;
  }
  std::set<std::string> expected = {"5/#104", "5/#106", "3/#1", "14/#107", "16/#1", "24/#1"};
  EXPECT_EQ(expected, seen);

  const pe::Resource* main = Find(file, 5, "#106");
  const pe::Resource* title = Find(file, 5, "#104");
  ASSERT_TRUE(main && title);
  {
    SCOPED_TRACE("main window template");
    ExpectTemplate(main->data, kMainTemplate);
  }
  {
    SCOPED_TRACE("title dialog template");
    ExpectTemplate(title->data, kTitleTemplate);
  }

  // Icon group 107: one 32x32 image of 16 colours, icon 1.
  const pe::Resource* group = Find(file, 14, "#107");
  const pe::Resource* icon = Find(file, 3, "#1");
  ASSERT_TRUE(group && icon);
  ASSERT_EQ(6u + 14u, group->data.size());
  const unsigned char* g = reinterpret_cast<const unsigned char*>(group->data.data());
  EXPECT_EQ(1, g[2] | g[3] << 8) << "type icon";
  EXPECT_EQ(1, g[4] | g[5] << 8) << "one image";
  EXPECT_EQ(32, g[6]);
  EXPECT_EQ(32, g[7]);
  EXPECT_EQ(16, g[8]) << "colours";
  EXPECT_EQ(4, g[12] | g[13] << 8) << "bits per pixel";
  EXPECT_EQ(icon->data.size(), static_cast<size_t>(g[14] | g[15] << 8 | g[16] << 16 | g[17] << 24));
  EXPECT_EQ(1, g[18] | g[19] << 8) << "icon id";
  BITMAPINFOHEADER bitmap;
  ASSERT_GE(icon->data.size(), sizeof bitmap);
  memcpy(&bitmap, icon->data.data(), sizeof bitmap);
  EXPECT_EQ(32, bitmap.biWidth);
  EXPECT_EQ(64, bitmap.biHeight) << "image and mask";
  EXPECT_EQ(4, bitmap.biBitCount);

  // Version record 1.
  const pe::Resource* version = Find(file, 16, "#1");
  ASSERT_TRUE(version);
  pe::VersionNode root;
  ASSERT_TRUE(pe::ParseVersion(version->data, &root));
  EXPECT_TRUE(root.key == L"VS_VERSION_INFO");
  VS_FIXEDFILEINFO fixed;
  ASSERT_EQ(sizeof fixed, root.value.size());
  memcpy(&fixed, root.value.data(), sizeof fixed);
  EXPECT_EQ(0xFEEF04BDu, fixed.dwSignature);
  EXPECT_EQ(0x00010000u, fixed.dwFileVersionMS);
  EXPECT_EQ(0x00010000u, fixed.dwFileVersionLS);
  EXPECT_EQ(0x00010000u, fixed.dwProductVersionMS);
  EXPECT_EQ(0x00010000u, fixed.dwProductVersionLS);
  EXPECT_EQ(0x3Fu, fixed.dwFileFlagsMask);
  EXPECT_EQ(0u, fixed.dwFileFlags);
  EXPECT_EQ(0x00040004u, fixed.dwFileOS);
  EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed.dwFileType);
  EXPECT_EQ(0u, fixed.dwFileSubtype);
  EXPECT_EQ(0u, fixed.dwFileDateMS);
  EXPECT_EQ(0u, fixed.dwFileDateLS);
  EXPECT_EQ(Utf8("フリーソフト"), Utf8(VersionString(root, L"Comments")));
  EXPECT_EQ("1, 0, 1, 0", VersionString(root, L"FileVersion"));
  EXPECT_EQ("1, 0, 1, 0", VersionString(root, L"ProductVersion"));
  EXPECT_EQ("Tomavel", VersionString(root, L"ProductName"));
  for (const wchar_t* empty : {L"CompanyName", L"LegalTrademarks", L"PrivateBuild", L"SpecialBuild"})
    EXPECT_EQ("", VersionString(root, empty)) << "an empty field";
  for (const wchar_t* chosen : {L"FileDescription", L"InternalName", L"OriginalFilename", L"LegalCopyright"})
    EXPECT_NE("<missing>", VersionString(root, chosen)) << "a standard key";
  // Twelve keys in the one string table, and the translation 0x0411, 1200.
  int keys = 0, translations = 0;
  for (const pe::VersionNode& info : root.children) {
    for (const pe::VersionNode& table : info.children) {
      if (info.key == L"StringFileInfo") {
        EXPECT_TRUE(table.key == L"041104b0");
        keys += static_cast<int>(table.children.size());
      } else if (table.key == L"Translation") {
        ASSERT_EQ(4u, table.value.size());
        const unsigned char* t = reinterpret_cast<const unsigned char*>(table.value.data());
        EXPECT_EQ(0x0411, t[0] | t[1] << 8);
        EXPECT_EQ(1200, t[2] | t[3] << 8);
        ++translations;
      }
    }
  }
  EXPECT_EQ(12, keys);
  EXPECT_EQ(1, translations);

  // The manifest asks to run as the invoker and no visual styles; its
  // settings are read as Windows reads them (WindowsReadsTheManifestsSettings).
  const pe::Resource* manifest = Find(file, 24, "#1");
  ASSERT_TRUE(manifest);
  EXPECT_NE(std::string::npos, manifest->data.find("requestedExecutionLevel level=\"asInvoker\""));
  EXPECT_EQ(std::string::npos, manifest->data.find("dependentAssembly")) << "no visual styles";
}

pe::File Load(const char* path) {
  pe::File file;
  std::string error;
  std::string bytes = ReadFileBytes(path);
  EXPECT_FALSE(bytes.empty()) << "cannot read " << path;
  EXPECT_TRUE(pe::Parse(bytes, &file, &error)) << path << ": " << error;
  return file;
}

TEST(Resources, ShippedProgramHoldsExactlyTheDesignedResources) { ExpectResources(Load(TOMAVEL_EXE32)); }

// In the 64-bit build, its twin; in the 32-bit build, the shipped program again.
TEST(Resources, ThisBuildsProgramHoldsTheSameResources) { ExpectResources(Load(TOMAVEL_EXE)); }

// The settings of the manifest as Windows reads them: code page 932 whatever
// the system's language settings, and drawn sharp at any scale (per monitor,
// version 2 from Windows 10 1703 and version 1 on 1607, which takes the
// first value it knows; else for the system's scale).
TEST(Resources, WindowsReadsTheManifestsSettings) {
  BOOL(WINAPI * query)(DWORD, HANDLE, PCWSTR, PCWSTR, PWSTR, SIZE_T, SIZE_T*) = NULL;
  ASSERT_TRUE(BindFunction(KernelModule(), "QueryActCtxSettingsW", &query));
  std::wstring path = Wide(TOMAVEL_EXE);
  ACTCTXW request;
  ZeroMemory(&request, sizeof request);
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(1);
  HANDLE context = CreateActCtxW(&request);
  ASSERT_NE(INVALID_HANDLE_VALUE, context);
  const wchar_t* const kSettings[][3] = {{L"2019", L"activeCodePage", L"ja-JP"},
                                         {L"2005", L"dpiAware", L"true"},
                                         {L"2016", L"dpiAwareness", L"PerMonitorV2, PerMonitor"}};
  for (const auto& setting : kSettings) {
    std::wstring space = std::wstring(L"http://schemas.microsoft.com/SMI/") + setting[0] + L"/WindowsSettings";
    WCHAR value[64] = L"<sentinel>";
    SIZE_T written = 0;
    EXPECT_TRUE(query(0, context, space.c_str(), setting[1], value, ARRAYSIZE(value), &written)) << Narrow(setting[1]);
    EXPECT_EQ(Narrow(setting[2]), Narrow(value)) << Narrow(setting[1]);
  }
  ReleaseActCtx(context);
}

TEST(Resources, PlatformLoaderSeesTheSameTemplatesAndVersion) {
  pe::File parsed = Load(TOMAVEL_EXE);
  HMODULE module = LoadLibraryExA(TOMAVEL_EXE, NULL, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE((HMODULE)NULL, module);
  for (int id : {104, 106}) {
    HRSRC found = FindResourceExA(module, RT_DIALOG, MAKEINTRESOURCEA(id), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    ASSERT_NE((HRSRC)NULL, found) << "dialog " << id;
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    const pe::Resource* mine = Find(parsed, 5, ("#" + std::to_string(id)).c_str());
    ASSERT_TRUE(mine);
    EXPECT_EQ(mine->data, std::string(data, SizeofResource(module, found))) << "dialog " << id;
  }
  FreeLibrary(module);

  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(TOMAVEL_EXE, &handle);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(TOMAVEL_EXE, 0, size, &block[0]));
  char* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(&block[0], "\\StringFileInfo\\041104b0\\ProductName", reinterpret_cast<void**>(&value), &length));
  EXPECT_STREQ("Tomavel", value);
  ASSERT_TRUE(VerQueryValueA(&block[0], "\\StringFileInfo\\041104b0\\Comments", reinterpret_cast<void**>(&value), &length));
  EXPECT_EQ(Utf8("フリーソフト"), Utf8(value));
}

// What the program loads before its first line runs: only DLLs on Windows'
// list of known DLLs, which are never taken from the program's folder. The
// file chooser, the shell and COM are bound at run time from the system
// folder, and nothing is imported that older systems lack.
void ExpectReleaseImports(const pe::File& file) {
  const std::set<std::string> kKnownDlls = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll"};
  std::set<std::string> functions;
  for (const auto& dll : file.imports) {
    EXPECT_EQ(1u, kKnownDlls.count(dll.first)) << "imports " << dll.first << " at load time";
    for (const std::string& name : dll.second) functions.insert(name);
  }
  for (const char* late : {"SetDefaultDllDirectories", "SetDllDirectoryA", "GetOpenFileNameA", "GetOpenFileNameW",
                           "CoCreateInstance", "SHGetMalloc"})
    EXPECT_EQ(0u, functions.count(late)) << late << " is imported";
  // Wide only where the ANSI form would mislead: GDI keeps the system's code
  // page even where the manifest gave the process 932, the ANSI start folder
  // is a look-alike where the code page cannot hold it, and an ANSI title
  // dialog's fields hold look-alikes of what was typed.
  for (const char* wide : {"TextOutW", "GetCurrentDirectoryW", "DialogBoxParamW", "GetWindowTextW"})
    EXPECT_EQ(1u, functions.count(wide)) << wide << " is not imported";
  for (const char* ansi : {"MessageBoxA", "GetVersionExA", "DeleteFileA", "FormatMessageA", "SendMessageA",
                           "LoadLibraryExA"}) {
    EXPECT_EQ(1u, functions.count(ansi)) << ansi << " is not imported";
    std::string wide = ansi;
    wide.back() = 'W';
    EXPECT_EQ(0u, functions.count(wide)) << wide << " is imported";
  }
}

TEST(Release, ShippedProgramIsA32BitGuiProgramOfWindowsDllsOnly) {
  pe::File file = Load(TOMAVEL_EXE32);
  EXPECT_EQ(IMAGE_FILE_MACHINE_I386, file.machine);
  EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, file.subsystem);
  ExpectReleaseImports(file);
}

TEST(Release, ThisBuildsProgramIsAGuiProgramOfWindowsDllsOnly) {
  pe::File file = Load(TOMAVEL_EXE);
  EXPECT_EQ(sizeof(void*) == 4 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64, file.machine);
  EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, file.subsystem);
  ExpectReleaseImports(file);
}

TEST(Release, ShippedProgramStaysSmall) {
  size_t size = ReadFileBytes(TOMAVEL_EXE32).size();
  EXPECT_GT(size, 0u);
  EXPECT_LE(size, 36u * 1024u) << "the shipped program grew to " << size << " bytes";
}

// The programs start at their own entry, where nothing runs the constructors
// of globals. The linker puts the constructor list in .text as a -1 word, the
// entries and a 0 word, the destructor list after it: empty, the four words
// -1 0 -1 0 (of a pointer's size) stand together once.
TEST(Release, BothProgramsHaveNoStaticConstructors) {
  for (const char* path : {TOMAVEL_EXE32, TOMAVEL_EXE}) {
    pe::File file = Load(path);
    size_t word = file.machine == IMAGE_FILE_MACHINE_AMD64 ? 8 : 4;
    std::string start(word, '\xFF'), end(word, '\0');
    std::string emptyLists = start + end + start + end, text;
    for (const pe::Section& section : file.sections)
      if (section.name == ".text") text = section.data;
    size_t at = text.find(emptyLists);
    EXPECT_NE(std::string::npos, at) << path << ": a constructor list with entries";
    EXPECT_EQ(std::string::npos, text.find(emptyLists, at + 1)) << path << ": where the list is, is unclear";
  }
}

// Loaded at a random address (with the relocations that needs), data never
// run as code, and no time stamp, which the reproducible release relies on.
void ExpectHardened(const pe::File& file) {
  bool wide = file.machine == IMAGE_FILE_MACHINE_AMD64;
  EXPECT_EQ(0u, file.timeDateStamp) << "time stamp";
  EXPECT_TRUE(file.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE) << "ASLR (dynamic base)";
  EXPECT_GT(file.relocationsSize, 0u) << "relocations for ASLR";
  EXPECT_FALSE(file.characteristics & IMAGE_FILE_RELOCS_STRIPPED) << "relocations stripped";
  EXPECT_TRUE(file.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT) << "DEP (NX compatible)";
  if (wide) {
    EXPECT_TRUE(file.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA) << "high-entropy ASLR";
  }
  EXPECT_FALSE(file.sections.empty());
  for (const pe::Section& section : file.sections) {
    bool writable = section.characteristics & IMAGE_SCN_MEM_WRITE;
    bool executable = section.characteristics & IMAGE_SCN_MEM_EXECUTE;
    EXPECT_FALSE(writable && executable) << "section " << section.name << " is writable and executable";
  }
}

TEST(Release, BothProgramsAreHardened) {
  {
    SCOPED_TRACE("the shipped program");
    ExpectHardened(Load(TOMAVEL_EXE32));
  }
  {
    SCOPED_TRACE("this build's program");
    ExpectHardened(Load(TOMAVEL_EXE));
  }
}

}  // namespace
