// The main window as a user meets it, run in-process from its template, and
// the real Tomavel.exe started as a separate process.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "base/platform_version.h"
#include "flows/app_state.h"
#include "res/resource.h"
#include "tests/app_driver.h"
#include "tests/test_support.h"
#include "tests/ui_driver.h"

using namespace app_driver;
using namespace testing_support;

namespace {

const COLORREF kBlue = 0xFF0000;

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAppState();
    GetCurrentDirectoryA(sizeof savedDirectory_, savedDirectory_);
  }
  void TearDown() override { SetCurrentDirectoryA(savedDirectory_); }
  char savedDirectory_[MAX_PATH];
};

TEST_F(MainWindow, OpensOnTheProgramChooserInTheStartDirectory) {
  std::string start = FreshFolder("start");
  SetCurrentDirectoryA(start.c_str());
  int exitCode = -1;
  std::string folder;
  ui::RunDriven([&] { exitCode = RunTomavel(GetModuleHandleA(NULL)); },
                [&] {
                  HWND main = CancelOpeningChooser(&folder);
                  ASSERT_TRUE(main);
                  ui::Click(main, IDC_EXIT);
                });
  EXPECT_EQ(start, folder) << "the first chooser opens where the program was started";
  EXPECT_EQ(start, appState.initialFolder);
  EXPECT_EQ(0, exitCode);

  // A folder the code page cannot hold is never taken for its look-alike
  // (José for Jose, which is there too): the chooser opens in its default.
  // (Beside Jose, not in it: the tests' ANSI listing cannot remove José.)
  std::string lookAlike = FreshFolder("Jose");
  std::wstring accented = Wide(lookAlike.substr(0, lookAlike.size() - 1)) + L"\u00E9";
  CreateDirectoryW(accented.c_str(), NULL);
  ASSERT_TRUE(SetCurrentDirectoryW(accented.c_str()));
  ResetAppState();
  ui::RunDriven([&] { RunTomavel(GetModuleHandleA(NULL)); }, [&] { ui::Click(CancelOpeningChooser(), IDC_EXIT); });
  EXPECT_STREQ("", appState.initialFolder);
  SetCurrentDirectoryA(savedDirectory_);
  RemoveDirectoryW(accented.c_str());
}

TEST_F(MainWindow, ChooserOpensInTheRecordedFolderNotTheCurrentOne) {
  std::string recorded = FreshFolder("recorded");
  SetCurrentDirectoryA(FreshFolder("elsewhere").c_str());
  lstrcpyA(appState.initialFolder, recorded.c_str());
  std::string folder;
  DriveMainWindow([](HWND) {}, kThenPressExit, &folder);
  EXPECT_EQ(recorded, folder);
}

TEST_F(MainWindow, ShowsItsControlsCentredAndEndsOnEnterWithoutAQuestion) {
  INT_PTR result = DriveMainWindow(
      [](HWND main) {
                  EXPECT_EQ(main, appState.mainWindow);
                  EXPECT_EQ("Tomavel", ui::Text(main));
                  EXPECT_EQ(Utf8("終　了"), Utf8(ui::ControlText(main, IDC_EXIT)));
                  EXPECT_EQ(Utf8("スタートアップに登録"), Utf8(ui::ControlText(main, IDC_REGISTER)));
                  EXPECT_EQ(Utf8("スタートアップから削除"), Utf8(ui::ControlText(main, IDC_REMOVE)));
                  EXPECT_EQ("", ui::ControlText(main, IDC_SCOPE_GROUP));
                  EXPECT_EQ(Utf8("ログインユーザーのみに適用"), Utf8(ui::ControlText(main, IDC_SCOPE_USER)));
                  EXPECT_EQ(Utf8("すべてのユーザーに適用"), Utf8(ui::ControlText(main, IDC_SCOPE_ALL)));
                  EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(main, IDC_SCOPE_USER), BM_GETCHECK, 0, 0));
                  EXPECT_EQ(BST_UNCHECKED, SendMessageA(GetDlgItem(main, IDC_SCOPE_ALL), BM_GETCHECK, 0, 0));
                  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, IDC_SCOPE_USER))) << "not Windows 9x";
                  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, IDC_SCOPE_ALL)));
                  EXPECT_EQ(kScopeUser, appState.scope);

                  RECT desktop, own;
                  GetWindowRect(GetDesktopWindow(), &desktop);
                  GetWindowRect(main, &own);
                  EXPECT_EQ((desktop.right - (own.right - own.left)) / 2, own.left);
                  EXPECT_EQ((desktop.bottom - (own.bottom - own.top)) / 2, own.top);
                  EXPECT_EQ(main, GetForegroundWindow());

                  // Japanese text needs fonts of the Japanese character set: the
                  // system font the banner is painted in, and the dialog's font.
                  HDC dc = GetDC(main);
                  EXPECT_EQ(SHIFTJIS_CHARSET, GetTextCharset(dc)) << "system font";
                  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(main, WM_GETFONT, 0, 0)));
                  EXPECT_EQ(SHIFTJIS_CHARSET, GetTextCharset(dc)) << "dialog font";
                  SelectObject(dc, old);
                  ReleaseDC(main, dc);

                  // The banner is painted in blue at (20, 20) on the button face colour.
                  EXPECT_GT(CountPixels(main, 20, 20, 200, 36, kBlue), 50);
                  EXPECT_EQ(0, CountPixels(main, 0, 0, 20, 20, kBlue));
                  // The version label at (430, 165) must fall inside the client area to be seen.
                  RECT client;
                  GetClientRect(main, &client);
                  EXPECT_GT(client.right, 440) << "client area too narrow to show the version label";
                  EXPECT_GT(client.bottom, 170) << "client area too low to show the version label";
                  EXPECT_GT(CountPixels(main, 430, 165, client.right, client.bottom, kBlue), 10) << "version label";
                  ui::SaveScreenshot(main, "main-window");

                  ui::PressKey(main, VK_RETURN);
      },
      kStepsEndIt);
  EXPECT_EQ(IDC_EXIT, result);
}

TEST_F(MainWindow, CloseAsksAndCancelKeepsTheWindowAsItWas) {
  INT_PTR result = DriveMainWindow(
      [](HWND main) {
                  RECT before, after;
                  GetWindowRect(main, &before);
                  ui::CloseBox(main);
                  ui::ExpectMessageBox("終了確認", "終了しますか", {IDOK, IDCANCEL}, "question", IDCANCEL);
                  ASSERT_TRUE(WaitForIdleMainWindow());
                  GetWindowRect(main, &after);
                  EXPECT_TRUE(EqualRect(&before, &after));
                  EXPECT_EQ(kScopeUser, appState.scope);
                  EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(main, IDC_SCOPE_USER), BM_GETCHECK, 0, 0));

                  ui::CloseBox(main);
                  ui::ExpectMessageBox("終了確認", "終了しますか", {IDOK, IDCANCEL}, "question", IDOK);
      },
      kStepsEndIt);
  EXPECT_EQ(IDC_EXIT, result);
}

TEST_F(MainWindow, EscapeDoesNothing) {
  INT_PTR result = DriveMainWindow(
      [](HWND main) {
                  ui::PressKey(main, VK_ESCAPE);
                  // Queued after Escape: had Escape ended the window, the result would be 2.
                  ui::PressKey(main, VK_RETURN);
      },
      kStepsEndIt);
  EXPECT_EQ(IDC_EXIT, result);
}

TEST_F(MainWindow, RadioButtonsSetTheScopeAndItHolds) {
  DriveMainWindow([](HWND main) {
                  ui::Click(main, IDC_SCOPE_ALL);
                  EXPECT_TRUE(ui::WaitUntil([&] { return appState.scope == kScopeAllUsers; }));
                  EXPECT_EQ(BST_UNCHECKED, SendMessageA(GetDlgItem(main, IDC_SCOPE_USER), BM_GETCHECK, 0, 0));
                  EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(main, IDC_SCOPE_ALL), BM_GETCHECK, 0, 0));

                  // A register run in between leaves the choice alone.
                  ui::Click(main, IDC_REGISTER);
                  HWND chooser = ui::WaitForChooser(kProgramChooser);
                  ASSERT_TRUE(chooser);
                  ui::CancelChooser(chooser);
                  ASSERT_TRUE(WaitForIdleMainWindow(true));
                  EXPECT_EQ(kScopeAllUsers, appState.scope);
                  EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(main, IDC_SCOPE_ALL), BM_GETCHECK, 0, 0));

                  ui::Click(main, IDC_SCOPE_USER);
                  EXPECT_TRUE(ui::WaitUntil([&] { return appState.scope == kScopeUser; }));
                  EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(main, IDC_SCOPE_USER), BM_GETCHECK, 0, 0));
                  EXPECT_EQ(BST_UNCHECKED, SendMessageA(GetDlgItem(main, IDC_SCOPE_ALL), BM_GETCHECK, 0, 0));
  });
}

TEST_F(MainWindow, EnterPressesTheFocusedButtonAndARepaintReturnsTheFocusToExit) {
  INT_PTR result = DriveMainWindow(
      [](HWND main) {
                  ui::PressKey(main, VK_TAB);
                  ASSERT_TRUE(ui::WaitUntil([&] { return ui::FocusOf(main) == GetDlgItem(main, IDC_REGISTER); }));
                  InvalidateRect(main, NULL, TRUE);
                  EXPECT_TRUE(ui::WaitUntil([&] { return ui::FocusOf(main) == GetDlgItem(main, IDC_EXIT); }))
                      << "focus back on the exit button after a repaint";

                  ui::PressKey(main, VK_TAB);
                  ASSERT_TRUE(ui::WaitUntil([&] { return ui::FocusOf(main) == GetDlgItem(main, IDC_REGISTER); }));
                  ui::PressKey(main, VK_RETURN);  // presses the register button, not exit
                  HWND chooser = ui::WaitForChooser(kProgramChooser);
                  ASSERT_TRUE(chooser);
                  ui::CancelChooser(chooser);
                  ASSERT_TRUE(WaitForIdleMainWindow(true));
                  ui::PressKey(main, VK_RETURN);
      },
      kStepsEndIt);
  EXPECT_EQ(IDC_EXIT, result);
}

// --- The real program, started as a user would start it -------------------

// A window of the program started below: its start takes longer.
HWND WaitForProgramWindow(const char* caption, int controlId) {
  return ui::WaitForDialog(caption, controlId, 2 * ui::kWaitMs, ui::kOtherProcess);
}

class RealProgram : public ::testing::Test {
 protected:
  void Start(const std::string& directory, const std::string& arguments, const std::string& exe = TOMAVEL_EXE) {
    std::string command = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, directory.c_str(), &startup,
                               &process_))
        << "cannot start " << Utf8(exe);
  }
  // Starts the program from the Linux side under a locale of its own: Wine
  // takes each process's code page from its Unix locale, and a Windows
  // environment block would not reach it. The program's handle is taken from
  // its first window (RegisterRemoveAndExit).
  void StartUnderLocale(const std::string& directory, const char* locale) {
    char wine[MAX_PATH] = "";
    ASSERT_NE(0u, GetEnvironmentVariableA("TOMAVEL_WINE", wine, sizeof wine)) << "scripts/wine-env names the loader";
    std::string command = std::string("Z:\\usr\\bin\\env LANG=") + locale + " LC_ALL=" + locale + " \"" + wine +
                          "\" \"" + TOMAVEL_EXE + "\"";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION linuxSide = {};
    ASSERT_TRUE(CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, directory.c_str(), &startup, &linuxSide))
        << command;
  }
  // Loads dll into the running program: a thread of its own runs
  // LoadLibraryW there, at this process's address of it (Windows maps
  // kernel32 at one address in every process of a bitness).
  bool LoadIntoProgram(const std::string& dll) {
    std::wstring path = Wide(dll);
    SIZE_T bytes = (path.size() + 1) * sizeof(WCHAR);
    void* remote = VirtualAllocEx(process_.hProcess, NULL, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote || !WriteProcessMemory(process_.hProcess, remote, path.c_str(), bytes, NULL)) return false;
    LPTHREAD_START_ROUTINE load = NULL;
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryW");
    memcpy(&load, &found, sizeof load);
    HANDLE thread = CreateRemoteThread(process_.hProcess, NULL, 0, load, remote, 0, NULL);
    DWORD loaded = 0;
    bool done = thread && WaitForSingleObject(thread, ui::Scaled(10000)) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &loaded);
    if (thread) CloseHandle(thread);
    return done && loaded != 0;
  }
  DWORD WaitForExit() {
    DWORD code = 12345;
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process_.hProcess, ui::Scaled(20000))) << "the program did not end";
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }
  // A whole session with the program just started, as a user has it: the
  // program in folder registered under title with arguments, each text shown
  // read as on a Japanese system, the shortcut read back, then removed, then
  // a confirmed exit. A step that fails ends the session.
  // atChooser, if given, runs while the first chooser is open.
  void RegisterRemoveAndExit(const std::string& folder, const std::string& program, const std::string& title,
                             const std::string& arguments, const std::string& screenshot,
                             const std::function<void(HWND chooser)>& atChooser = nullptr) {
    std::string shortcut = StartupFolderOf(kScopeUser) + "\\" + title + ".lnk";
    DeleteFileA(shortcut.c_str());
    HWND chooser = WaitForProgramWindow(kProgramChooser, IDOK);
    ASSERT_TRUE(chooser) << "no program chooser with its title";
    if (!process_.hProcess) {
      GetWindowThreadProcessId(chooser, &process_.dwProcessId);
      process_.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE | PROCESS_CREATE_THREAD |
                                          PROCESS_VM_OPERATION | PROCESS_VM_WRITE,
                                      FALSE, process_.dwProcessId);
      ASSERT_TRUE(process_.hProcess);
    }
    if (atChooser) atChooser(chooser);
    ui::TypeFileName(chooser, program);
    ui::Click(chooser, IDOK);
    HWND dialog = WaitForProgramWindow("Tomavel", IDC_TITLE);
    ASSERT_TRUE(dialog);
    ui::Type(dialog, IDC_TITLE, title);
    ui::Type(dialog, IDC_ARGUMENTS, arguments);
    ui::SaveScreenshot(dialog, ("title-dialog-" + screenshot).c_str());
    ui::Click(dialog, IDC_TITLE_OK);
    HWND box = WaitForProgramWindow("Tomavel", IDOK);
    ASSERT_TRUE(box);
    EXPECT_EQ(Utf8(kRegistered), Utf8(ui::ControlText(box, ui::kMessageBoxText)));
    EXPECT_SHORTCUT(shortcut, {program, folder, arguments});
    ui::Click(box, IDOK);

    HWND main = WaitForProgramWindow("Tomavel", IDC_EXIT);
    ASSERT_TRUE(main);
    ui::SaveScreenshot(main, ("main-window-" + screenshot).c_str());
    ui::Click(main, IDC_REMOVE);
    chooser = WaitForProgramWindow(kShortcutChooser, IDOK);
    ASSERT_TRUE(chooser) << "no shortcut chooser with its title";
    ui::TypeFileName(chooser, shortcut);
    ui::Click(chooser, IDOK);
    box = WaitForProgramWindow("Tomavel", IDYES);
    ASSERT_TRUE(box);
    EXPECT_EQ(Utf8(title + " をスタートアップフォルダから削除します"), Utf8(ui::ControlText(box, ui::kMessageBoxText)));
    ui::Click(box, IDYES);
    box = WaitForProgramWindow("Tomavel", IDOK);
    ASSERT_TRUE(box);
    EXPECT_EQ(Utf8(title + " をスタートアップフォルダから削除しました"), Utf8(ui::ControlText(box, ui::kMessageBoxText)));
    ui::Click(box, IDOK);
    EXPECT_FALSE(FileExists(shortcut)) << "removed";

    ui::CloseBox(WaitForProgramWindow("Tomavel", IDC_EXIT));
    HWND question = WaitForProgramWindow("終了確認", IDOK);
    ASSERT_TRUE(question);
    EXPECT_EQ(Utf8("終了しますか"), Utf8(ui::ControlText(question, ui::kMessageBoxText)));
    ui::Click(question, IDOK);
    EXPECT_EQ(0u, WaitForExit());
  }
  void TearDown() override {
    if (process_.hProcess) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
      CloseHandle(process_.hProcess);
      if (process_.hThread) CloseHandle(process_.hThread);
    }
  }
  PROCESS_INFORMATION process_ = {};
};

TEST_F(RealProgram, RecordsItsStartDirectoryIgnoresArgumentsAndExitsWithZero) {
  // The executable lives in the build folder; the marker only in the start
  // directory. Opening it by its bare name proves where the chooser opened.
  std::string start = FreshFolder("real-start");
  WriteFileBytes(start + "\\marker-program.exe", "MZ");
  Start(start, "/register C:\\elsewhere.exe --title x");
  // As every user runs it: the shipped 32-bit program on 64-bit Windows.
  BOOL wow64 = 12345;
  ASSERT_TRUE(IsWow64Process(process_.hProcess, &wow64));
  EXPECT_EQ(sizeof(void*) == 4 ? TRUE : FALSE, wow64) << "runs under WoW64";

  HWND chooser = WaitForProgramWindow(kProgramChooser, IDOK);
  ASSERT_TRUE(chooser) << "no program chooser at start-up";
  ui::TypeFileName(chooser, "marker-program.exe");
  ui::Click(chooser, IDOK);

  HWND title = WaitForProgramWindow("Tomavel", IDC_TITLE);
  ASSERT_TRUE(title) << "the marker in the start directory was not found";
  ui::Click(title, IDC_TITLE_CANCEL);

  HWND main = WaitForProgramWindow("Tomavel", IDC_EXIT);
  ASSERT_TRUE(main);
  ui::Click(main, IDC_EXIT);
  EXPECT_EQ(0u, WaitForExit());
}

TEST_F(RealProgram, ExitsWithZeroAfterAConfirmedClose) {
  Start(FreshFolder("real-close"), "");
  HWND chooser = WaitForProgramWindow(kProgramChooser, IDOK);
  ASSERT_TRUE(chooser);
  ui::Click(chooser, IDCANCEL);
  HWND main = WaitForProgramWindow("Tomavel", IDC_EXIT);
  ASSERT_TRUE(main);
  ui::CloseBox(main);
  HWND question = WaitForProgramWindow("終了確認", IDOK);
  ASSERT_TRUE(question);
  ui::Click(question, IDOK);
  EXPECT_EQ(0u, WaitForExit());
}

// The program runs from wherever it was downloaded, where anyone may have
// put a DLL of any name. Here a DLL of the test's own stands beside a copy of
// the program under every name the system folder has, and that folder is the
// current directory too; each leaves a marker if it is ever loaded. Then a
// whole session: a registration, a removal and a confirmed exit.
TEST_F(RealProgram, NoDllBesideTheProgramIsEverLoaded) {
  std::string folder = FreshFolder("planted");
  char system[MAX_PATH];
  ASSERT_NE(0u, GetSystemDirectoryA(system, sizeof system));
  int planted = 0;
  for (const FolderEntry& entry : ListFolder(system)) {
    std::string name = entry.name;
    CharLowerA(&name[0]);
    if (entry.isFolder || name.size() < 5 || name.compare(name.size() - 4, 4, ".dll") != 0) continue;
    // Under WoW64 in Wine, Wine's own 32-bit user32 loads zlib1.dll, which
    // the set-up put into the system folder (no Windows DLL), before any code
    // of the program runs: nothing the program could lock.
    if (sizeof(void*) == 4 && name == "zlib1.dll") continue;
    planted += CopyFileA(TOMAVEL_PLANTED_DLL, (folder + "\\" + name).c_str(), FALSE) ? 1 : 0;
  }
  EXPECT_GT(planted, 100) << "DLLs planted";
  std::string exe = folder + "\\Tomavel.exe";
  ASSERT_TRUE(CopyFileA(TOMAVEL_EXE, exe.c_str(), FALSE));
  std::string target = FreshFolder("planted-target");
  std::string program = target + "\\app.exe";
  WriteFileBytes(program, "MZ");
  Start(folder, "", exe);
  RegisterRemoveAndExit(target, program, "Planted", "", "planted");

  std::string loaded;
  for (const FolderEntry& entry : ListFolder(folder))
    if (entry.name.size() > 7 && entry.name.compare(entry.name.size() - 7, 7, ".loaded") == 0) loaded += " " + entry.name;
  EXPECT_EQ("", loaded) << "DLLs loaded from beside the program";
}

// Windows of other language settings: an English one (code page 1252) and
// one with the UTF-8 option (65001, a locale without an ANSI code page).
// Tomavel asks for code page 932 and must read, register and remove a
// program named in kanji exactly as on a Japanese system. Then a Japanese
// one at 150 % and 200 %, read by Wine as a program starts, and a black
// contrast theme (Windows 11's Night sky), whose colours Wine reads so too.
struct Locale {
  const char* unixLocale;
  const char* name;
  // cppcheck-suppress unusedStructMember ; read through GetParam()
  bool systemFont;  // the painted texts in the System font: 932 at 96 dpi
  int dpi = 96;
  bool contrast = false;
};
void PrintTo(const Locale& locale, std::ostream* out) { *out << locale.unixLocale << " (" << locale.name << ")"; }

class RealProgramElsewhere : public RealProgram, public ::testing::WithParamInterface<Locale> {};

INT_PTR CALLBACK Inert(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The client area of a template at this process's 96 dpi.
RECT ClientAt96(int id) {
  RECT client = {0, 0, 0, 0};
  HWND dialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(id), NULL, Inert, 0);
  GetClientRect(dialog, &client);
  DestroyWindow(dialog);
  return client;
}

TEST_P(RealProgramElsewhere, ShowsJapaneseAndRegistersAKanjiProgramAsOnAJapaneseSystem) {
  const char kDesktop[] = "Control Panel\\Desktop", kColors[] = "Control Panel\\Colors";
  const Locale& locale = GetParam();
  std::string folder = FreshFolder(std::string("locale-") + locale.name);
  std::string program = folder + "\\表示.exe";
  WriteFileBytes(program, "MZ");
  std::string probe = FreshFolder(std::string("font-probe-") + locale.name) + "\\font_probe.dll";
  ASSERT_TRUE(CopyFileA(TOMAVEL_FONT_PROBE_DLL, probe.c_str(), FALSE));
  const char* const kNightSky[][2] = {{"ButtonFace", "0 0 0"}, {"ButtonText", "255 238 50"}, {"Window", "0 0 0"},
                                       {"WindowText", "255 255 255"}};
  std::string saved[4];
  for (int i = 0; i < 4 && locale.contrast; ++i) saved[i] = ReadRegistryValue(HKEY_CURRENT_USER, kColors, 0, kNightSky[i][0]);
  for (int i = 0; i < 4 && locale.contrast; ++i)
    WriteRegistryValue(HKEY_CURRENT_USER, kColors, 0, kNightSky[i][0], REG_SZ, std::string(kNightSky[i][1]) + '\0');
  if (locale.contrast) WriteFileBytes(probe + ".contrast", "");
  if (locale.dpi != 96)
    WriteRegistryValue(HKEY_CURRENT_USER, kDesktop, 0, "LogPixels", REG_DWORD, std::string(reinterpret_cast<const char*>(&locale.dpi), 4));
  StartUnderLocale(FreshFolder("locale-start"), locale.unixLocale);
  RegisterRemoveAndExit(folder, program, "表示テスト", "/開く \"設定 ファイル.ini\"", locale.name, [&](HWND chooser) {
    ASSERT_TRUE(LoadIntoProgram(probe)) << "the font probe";
    // As Windows tells a change of theme; then the banner is drawn again through the probe.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetWindow(chooser, GW_OWNER), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0, SMTO_NORMAL, ui::Scaled(5000), &ignored);
    InvalidateRect(GetWindow(chooser, GW_OWNER), NULL, TRUE);
  });
  DeleteRegistryValue(HKEY_CURRENT_USER, kDesktop, 0, "LogPixels");  // both read as the program started
  for (int i = 0; i < 4 && locale.contrast; ++i) WriteRegistryValue(HKEY_CURRENT_USER, kColors, 0, kNightSky[i][0], REG_SZ, saved[i]);
  // Windows' System font has Japanese only where the system's code page is
  // 932, and is made for 96 and 120 dpi only; elsewhere each painted text is
  // drawn in the dialog's font, which holds it all. Each lies inside its
  // window on no control, at its place at 96 dpi moved with the window, in
  // its colour or in a contrast theme in the theme's.
  const struct { const char* text; int x, y, dialog; COLORREF colour; } kTexts[] = {
      {"ショートカットを作成して、スタートアップに登録します", 20, 20, IDD_MAIN, 0xFF0000}, {"Ver.1.01", 430, 165, IDD_MAIN, 0xFF0000},
      {"タイトル名を入力してください（必須）", 10, 10, IDD_TITLE, 0x0000FF}, {"引数があれば入力してください（任意）", 10, 100, IDD_TITLE, 0xFF0000}};
  std::string drawn = ReadFileBytes(probe + ".txt"), expected = locale.systemFont ? "1\t0" : "0\t0";
  for (const auto& painted : kTexts) {
    size_t at = drawn.rfind("\t" + std::string(painted.text) + "\t");
    ASSERT_NE(std::string::npos, at) << Utf8(painted.text) << " not drawn; drawn:\n" << Utf8(drawn);
    size_t line = drawn.rfind('\n', at) + 1;  // npos + 1 is 0
    SCOPED_TRACE(Utf8(drawn.substr(line, drawn.find('\r', at) - line)));
    EXPECT_EQ(expected, drawn.substr(line, at - line));
    int inside = -1, onControl = -1, x = -1, y = -1, width = 0, height = 0;
    unsigned int colour = 1, background = 1;
    sscanf(drawn.c_str() + at + strlen(painted.text) + 2, "%*[^\t]\t%d\t%d\t%d\t%d\t%d\t%d\t%x\t%x", &inside, &onControl,
           &x, &y, &width, &height, &colour, &background);
    EXPECT_EQ(1, inside) << "inside its window";
    EXPECT_EQ(0, onControl) << "on no control";
    RECT at96 = ClientAt96(painted.dialog);
    EXPECT_NEAR(MulDiv(painted.x, width, at96.right), x, locale.dpi == 96 ? 0 : 2);
    EXPECT_NEAR(MulDiv(painted.y, height, at96.bottom), y, locale.dpi == 96 ? 0 : 2);
    EXPECT_EQ(locale.contrast ? RGB(255, 238, 50) : painted.colour, colour);
    EXPECT_EQ(locale.contrast ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNFACE), background);
  }
}

INSTANTIATE_TEST_SUITE_P(OtherLanguageSettings, RealProgramElsewhere,
                         ::testing::Values(Locale{"C.UTF-8", "cp1252", false}, Locale{"hi_IN.UTF-8", "utf8", false},
                                           Locale{"ja_JP.UTF-8", "cp932", true},
                                           Locale{"ja_JP.UTF-8", "cp932_144dpi", false, 144},
                                           Locale{"ja_JP.UTF-8", "cp932_192dpi", false, 192},
                                           Locale{"C.UTF-8", "contrast", false, 96, true}),
                         [](const ::testing::TestParamInfo<Locale>& locale) { return std::string(locale.param.name); });

}  // namespace
