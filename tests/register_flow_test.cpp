// The register flow end to end: the real chooser, the title dialog and the
// shell writing into the prefix's Startup folders; then the files on disk.
#include <gtest/gtest.h>
#include <objbase.h>

#include <list>

#include "flows/app_state.h"
#include "flows/flow_messages.h"
#include "flows/register_flow.h"
#include "flows/remove_flow.h"
#include "res/resource.h"
#include "startup/path_rules.h"
#include "tests/app_driver.h"
#include "tests/test_support.h"
#include "tests/ui_driver.h"

using namespace app_driver;
using namespace testing_support;

namespace {

const char kNotWritten[] = "ショートカットを登録できませんでした。";
const char kProgramNotFound[] = "選択したプログラムが見つからないため登録できませんでした。";
const std::string kForbidden = "タイトルに次の文字は使えません。\n\\ / : * ? \" < > |";
const std::vector<int> kOk = {IDOK};
const std::string kOff =
    "\n\nただし、この名前の登録は Windows で無効にされているため、ログインしても起動しません。"
    "タスク マネージャーの［スタートアップ］（Windows 11 では［スタートアップ アプリ］）で有効にしてください。";
const std::string kAdministrator =
    "\n\nただし、このプログラムは管理者として実行するように作られているため、Windows はログインしたときにこのプログラムを起動しません。";

class RegisterFlow : public FlowTest {
 protected:
  // Picks the program in the program chooser; the title dialog that follows.
  HWND PickProgram(const std::string& program) {
    HWND chooser = ui::WaitForChooser(kProgramChooser);
    if (!chooser) return NULL;
    ui::ChooseFile(chooser, program);
    return WaitForTitleDialog();
  }
  // A title the dialog refuses, with the warning owned by the dialog; then
  // the dialog is cancelled.
  void ExpectTitleRefused(const std::string& title, const std::string& warning) {
    HWND dialog = PickProgram(program_);
    ASSERT_TRUE(dialog);
    ui::Type(dialog, IDC_TITLE, title);
    ui::Click(dialog, IDC_TITLE_OK);
    ui::ExpectMessageBox("Tomavel", warning, kOk, "warning", IDOK, nullptr, dialog);
    ui::Click(dialog, IDC_TITLE_CANCEL);
    EXPECT_TRUE(ui::WaitForClosed(dialog));
  }
  // One registration as the user does it, from the program chooser on.
  void PickAndName(const std::string& program, const std::string& title, const std::string& arguments) {
    HWND dialog = PickProgram(program);
    ASSERT_TRUE(dialog);
    ui::Type(dialog, IDC_TITLE, title);
    ui::Type(dialog, IDC_ARGUMENTS, arguments);
    ui::Click(dialog, IDC_TITLE_OK);
  }
  // Starts a registration only to see where the program chooser opens.
  std::string NextChooserFolder() {
    std::string opened = "<no chooser>";
    EXPECT_EQ(0, Register([&] {
                HWND chooser = ui::WaitForChooser(kProgramChooser);
                ASSERT_TRUE(chooser);
                opened = ui::ChooserFolder(chooser);
                ui::CancelChooser(chooser);
              }));
    return opened;
  }
  int Register(const std::function<void()>& driver) {
    int result = -1;
    ui::RunDriven([&] { result = RegisterProgram(owner_); }, driver);
    return result;
  }
};

TEST_F(RegisterFlow, TheRegisterButtonWritesTheShortcutAndSaysSo) {
  std::string arguments = "--tray \"C:\\a b\" 表示";
  DriveMainWindow([&](HWND main) {
                  ui::Click(main, IDC_REGISTER);
                  HWND chooser = ui::WaitForChooser(kProgramChooser);
                  ASSERT_TRUE(chooser);
                  ui::SaveScreenshot(chooser, "program-chooser");
                  ui::ChooseFile(chooser, program_);
                  HWND dialog = WaitForTitleDialog();
                  ASSERT_TRUE(dialog);
                  ui::Type(dialog, IDC_TITLE, "テスト登録");
                  ui::Type(dialog, IDC_ARGUMENTS, arguments);
                  ui::Click(dialog, IDC_TITLE_OK);
                  ui::MessageBoxSeen box;
                  ASSERT_TRUE(ui::WaitForMessageBox("Tomavel", &box));
                  ui::SaveScreenshot(box.window, "registered-message");
                  EXPECT_EQ(Utf8(kRegistered), Utf8(box.text));
                  EXPECT_EQ(kOk, box.buttons);
                  EXPECT_EQ("information", box.icon);
                  EXPECT_EQ(main, GetWindow(box.window, GW_OWNER)) << "owned by the main window";
                  ui::Answer(box, IDOK);
  });
  EXPECT_EQ(std::set<std::string>{"テスト登録.lnk"}, NewFiles(kScopeUser));
  EXPECT_SHORTCUT(StartupFile(kScopeUser, "テスト登録.lnk"), {program_, programs_, arguments});
  EXPECT_EQ(programs_, appState.initialFolder) << "the next chooser opens in the program's folder";
  EXPECT_TRUE(NewFiles(kScopeAllUsers).empty());
}

TEST_F(RegisterFlow, TheTitleNamesTheFileAndGetsLnkOnlyWhenItLacksIt) {
  EXPECT_EQ(1, Register([&] {
              PickAndName(program_, "Mail", "");
              ui::ExpectMessageBox("Tomavel", kRegistered, kOk, "information", IDOK);
            }));
  // 199 bytes of arguments, a double-byte character last: written whole. A
  // program in a drive's root starts in the root, not in the drive's
  // current folder (C:).
  std::string arguments = std::string(197, 'x') + "表", root = "C:\\tomavel-root.exe";
  WriteFileBytes(root, "MZ");
  EXPECT_EQ(1, Register([&] {
              PickAndName(root, "a.LNK.b", arguments);
              ui::ExpectMessageBox("Tomavel", kRegistered, kOk, "information", IDOK);
            }));
  // Windows starts an entry by its extension: every name ends in .lnk.
  EXPECT_EQ((std::set<std::string>{"Mail.lnk", "a.LNK.b.lnk"}), NewFiles(kScopeUser));
  EXPECT_SHORTCUT(StartupFile(kScopeUser, "Mail.lnk"), {program_, programs_, ""});
  EXPECT_SHORTCUT(StartupFile(kScopeUser, "a.LNK.b.lnk"), {root, "C:\\", arguments});
  DeleteFileA(root.c_str());
}

TEST_F(RegisterFlow, CancellingTheTitleWritesNothingAndTheNextChooserOpensInTheProgramsFolder) {
  // 表 is 0x95 0x5C: the folder must be split at the real separator.
  std::string folder = programs_ + "\\表";
  CreateDirectoryA(folder.c_str(), NULL);
  std::string program = folder + "\\表.exe";
  WriteFileBytes(program, "MZ");
  lstrcpyA(appState.title, "stale");
  EXPECT_EQ(0, Register([&] {
              HWND dialog = PickProgram(program);
              ASSERT_TRUE(dialog);
              ui::Type(dialog, IDC_TITLE, "never");
              ui::Click(dialog, IDC_TITLE_CANCEL);
            }));
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
  EXPECT_EQ(Utf8(folder), Utf8(appState.initialFolder));

  EXPECT_EQ(Utf8(folder), Utf8(NextChooserFolder()));
  EXPECT_STREQ("", appState.chosenPath) << "a cancelled chooser leaves no earlier pick behind";
  EXPECT_EQ(Utf8(folder), Utf8(appState.initialFolder)) << "a cancelled chooser keeps the folder";
}

TEST_F(RegisterFlow, OkWithOnlyArgumentsWarnsAndWritesNothing) {
  EXPECT_EQ(0, Register([&] {
              PickAndName(program_, "", "--only-arguments");
              ui::ExpectMessageBox("Tomavel", kCancelled, kOk, "warning", IDOK);
            }));
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
}

TEST_F(RegisterFlow, TheAllUsersChoiceWritesIntoTheAllUsersFolder) {
  DriveMainWindow([&](HWND main) {
    ui::Click(main, IDC_SCOPE_ALL);
    ASSERT_TRUE(ui::WaitUntil([] { return appState.scope == kScopeAllUsers; }));
    ui::Click(main, IDC_REGISTER);
    PickAndName(program_, "全員", "");
    ui::ExpectMessageBox("Tomavel", kRegistered, kOk, "information", IDOK);
  });
  EXPECT_EQ(std::set<std::string>{"全員.lnk"}, NewFiles(kScopeAllUsers));
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
  EXPECT_SHORTCUT(StartupFile(kScopeAllUsers, "全員.lnk"), {program_, programs_, ""});
}

// A file of the title's name is replaced without a question, in any case of
// its name (the same file), but the success says so and names the program
// the replaced shortcut started; a file that is no shortcut is named alone.
// The other scope's folder is another folder.
TEST_F(RegisterFlow, ASameNamedFileIsReplacedWithoutAQuestionAndTheSuccessNamesItsProgram) {
  const std::string kReplaced = "\n\n同じ名前のショートカットがあったため、置き換えました。";
  std::string first = programs_ + "\\最初.exe";
  WriteFileBytes(first, "MZ");
  const std::string kNamed = kReplaced + "\n置き換える前のリンク先: " + first;
  const struct {
    StartupScope scope;
    const char* existing;
    bool shortcut, switchedOff;
    std::string lines;
  } kCases[] = {{kScopeUser, "Same.lnk", true, false, kNamed},       {kScopeUser, "Same.LNK", true, false, kNamed},
                {kScopeUser, "Same.lnk", false, false, kReplaced},   {kScopeUser, "Same.lnk", true, true, kOff + kNamed},
                {kScopeAllUsers, "Same.lnk", true, false, ""}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.existing) + (c.shortcut ? ", a shortcut" : ", no shortcut") + " in scope " + std::to_string(c.scope));
    std::string existing = StartupFile(c.scope, c.existing);
    if (c.shortcut) {
      EXPECT_EQ(S_OK, MakeShortcut(existing, first));
    } else {
      WriteFileBytes(existing, "an older file of the same name");
    }
    if (c.switchedOff) WriteRegistryValue(HKEY_CURRENT_USER, kStartupApprovedKey, 0, "Same.lnk", REG_BINARY, std::string(1, '\x03') + std::string(11, '\0'));
    EXPECT_EQ(1, Register([&] {
                PickAndName(program_, "Same", "--new");
                ui::ExpectMessageBox("Tomavel", kRegistered + c.lines, kOk, c.switchedOff ? "warning" : "information", IDOK,
                                     c.switchedOff ? "replaced-message" : nullptr);
              }));
    std::string written = c.scope == kScopeUser ? existing : StartupFile(kScopeUser, "Same.lnk");
    EXPECT_EQ(std::set<std::string>{c.scope == kScopeUser ? c.existing : "Same.lnk"}, NewFiles(kScopeUser));
    EXPECT_SHORTCUT(written, {program_, programs_, "--new"});
    DeleteRegistryValue(HKEY_CURRENT_USER, kStartupApprovedKey, 0, "Same.lnk");
    DeleteFileA(existing.c_str());
    DeleteFileA(written.c_str());
  }
}

// Windows starts nothing at logon that Task Manager switched off (by the
// file name, per user or for all users: an odd first byte), whose manifest
// asks to run as administrator (Wine's token is the full one, so
// highestAvailable asks too), or that the compatibility setting elevates (for
// the user, or for everyone in the 64-bit view), or that installer detection
// elevates (the policy on, a 32-bit program stating no run level, install,
// setup or update in its file name). The success says so, the switched-off
// name first; the manifest's word stands before the setting's, and
// RUNASINVOKER overrules both the manifest and installer detection. It says
// too when other users cannot start it (a program in a user's own folder,
// for all users), and when its drive may be missing at logon (N: is a network
// drive here, R: a removable one).
TEST_F(RegisterFlow, TheSuccessSaysWhenWindowsWillNotStartTheProgramAtLogon) {
  const std::string kCompatibility =
      "\n\nただし、このプログラムは互換性の設定で［管理者としてこのプログラムを実行する］が選ばれているため、"
      "Windows はログインしたときにこのプログラムを起動しません。";
  const std::string kInstaller =
      "\n\nただし、このプログラムは名前からインストーラーと見なされ、管理者として実行されるため、"
      "Windows はログインしたときにこのプログラムを起動しません。";
  const std::string kOtherUsers =
      "\n\nただし、このプログラムはあるユーザーの個人フォルダにあるため、ほかのユーザーがログインしたときには起動しません。";
  const std::string kNetwork =
      "\n\nただし、このプログラムはネットワーク上にあるため、ログインしたときにまだ接続されておらず、起動しないことがあります。";
  const std::string kRemovable =
      "\n\nただし、このプログラムは USB メモリーや CD/DVD などの取り外しできるドライブにあるため、"
      "ログインしたときにそれが接続されていなければ起動しません。";
  const std::string kOthersChange =
      "\n\nただし、このプログラムのファイルまたはフォルダは、管理者でないユーザーも変更できます。"
      "変更されると、ログインしたすべてのユーザー（管理者を含む）の権限で、別のプログラムが起動されるおそれがあります。";
  const char kPolicyKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
  const char kLayersKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
  // Manifests that defeat a reader of bytes: an IDE template's comment lists
  // the levels, asInvoker first; an element commented out; UTF-16; prefixes.
  const std::string kAdmin = ManifestAsking("requireAdministrator");
  const std::string kTemplate = ManifestAsking(
      "requireAdministrator",
      "<!-- UAC options: replace the element below with one of\r\n"
      "  <requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\" />\r\n"
      "  <requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\" />\r\n"
      "  <requestedExecutionLevel level=\"highestAvailable\" uiAccess=\"false\" /> -->\r\n");
  const std::string kCommentedOut =
      ManifestAsking("asInvoker", "<!-- <requestedExecutionLevel level=\"requireAdministrator\"/> -->");
  std::string declared16 = kAdmin;
  declared16.replace(declared16.find("UTF-8"), 5, "UTF-16");
  std::wstring utf16 = Wide(declared16);
  const std::string kUtf16 = "\xFF\xFE" + std::string(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2);
  const std::string kPrefixed =
      "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" xmlns:ms_asmv2=\"urn:schemas-microsoft-com:asm.v2\" "
      "manifestVersion=\"1.0\"><ms_asmv2:trustInfo><ms_asmv2:security><ms_asmv2:requestedPrivileges>"
      "<ms_asmv2:requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>"
      "</ms_asmv2:requestedPrivileges></ms_asmv2:security></ms_asmv2:trustInfo></assembly>";
  const struct {
    StartupScope scope;
    int approved;          // the value's first byte; -1: no value
    std::string manifest;  // empty: none
    HKEY layersRoot;       // where the compatibility setting is; null: nowhere
    const char* layers;
    std::string lines;
    const char* name = nullptr;  // below the folder of programs, or a whole path; null: asks<row>.exe
    int bits = 0;                // 32 or 64: a program of that machine; 0: this build's
    int policy = -1;             // EnableInstallerDetection; -1: no value
  } kCases[] = {{kScopeUser, -1, "", NULL, "", ""},
                {kScopeUser, 0x02, "", NULL, "", ""},
                {kScopeUser, 0x03, "", NULL, "", kOff},
                {kScopeAllUsers, 0x07, ManifestAsking("asInvoker"), NULL, "", kOff},
                {kScopeUser, -1, ManifestAsking("highestAvailable"), NULL, "", kAdministrator},
                {kScopeAllUsers, 0x03, kAdmin, NULL, "", kOff + kAdministrator},
                {kScopeUser, -1, kTemplate, NULL, "", kAdministrator},
                {kScopeUser, -1, kCommentedOut, NULL, "", ""},
                {kScopeUser, -1, kUtf16, NULL, "", kAdministrator},
                {kScopeUser, -1, kPrefixed, NULL, "", kAdministrator},
                {kScopeUser, -1, "", HKEY_CURRENT_USER, "~ RUNASADMIN", kCompatibility},
                {kScopeAllUsers, 0x03, "", HKEY_LOCAL_MACHINE, "HIGHDPIAWARE RunAsAdmin WIN8RTM", kOff + kCompatibility},
                {kScopeUser, -1, "", HKEY_CURRENT_USER, "WIN8RTM", ""},
                {kScopeUser, 0x03, kAdmin, HKEY_CURRENT_USER, "~ RUNASADMIN", kOff + kAdministrator},
                // RUNASINVOKER overrules the manifest; RUNASADMIN beside it still elevates.
                {kScopeUser, -1, kAdmin, HKEY_CURRENT_USER, "~ RUNASINVOKER", ""},
                {kScopeUser, -1, kAdmin, HKEY_LOCAL_MACHINE, "RUNASINVOKER RUNASADMIN", kCompatibility},
                {kScopeUser, -1, "", NULL, "", kInstaller, "AutoUpdate.exe", 32, 1},
                {kScopeUser, -1, "", NULL, "", "", "AutoUpdate.exe", 32, 0},
                {kScopeUser, -1, "", NULL, "", "", "AutoUpdate.exe", 32},
                {kScopeUser, -1, "", NULL, "", "", "AutoUpdate.exe", 64, 1},
                {kScopeUser, -1, ManifestAsking("asInvoker"), NULL, "", "", "AutoUpdate.exe", 32, 1},
                {kScopeUser, -1, "", NULL, "", "", "setup\\app.exe", 32, 1},
                {kScopeUser, -1, "", HKEY_CURRENT_USER, "~ RUNASINVOKER", "", "AutoUpdate.exe", 32, 1},
                {kScopeAllUsers, -1, "", NULL, "", kOtherUsers, "%USERPROFILE%\\tomavel\\app.exe"},
                {kScopeAllUsers, 0x03, "", NULL, "", kOff + kOtherUsers, "%USERPROFILE%\\tomavel\\app.exe"},
                {kScopeUser, -1, "", NULL, "", "", "%USERPROFILE%\\tomavel\\app.exe"},
                {kScopeAllUsers, -1, "", NULL, "", "", "%PUBLIC%\\tomavel\\app.exe"},
                {kScopeUser, -1, "", NULL, "", kNetwork, "N:\\app.exe"},
                {kScopeAllUsers, -1, "", NULL, "", kNetwork, "\\\\server\\share\\app.exe"},
                {kScopeAllUsers, -1, "", NULL, "", kRemovable, "R:\\tomavel\\app.exe"},
                // Anyone may change the folder (as under C:\ on Windows), or the file itself.
                {kScopeAllUsers, -1, "", NULL, "", kOthersChange, "open\\app.exe"},
                {kScopeAllUsers, 0x03, "", NULL, "", kOff + kOthersChange, "open\\app.exe"},
                {kScopeUser, -1, "", NULL, "", "", "open\\app.exe"},
                {kScopeAllUsers, -1, "", NULL, "", kOthersChange, "changeable.exe"},
                {kScopeAllUsers, -1, "", NULL, "", kRemovable + kOthersChange, "R:\\open\\app.exe"}};
  CreateDirectoryA((programs_ + "\\setup").c_str(), NULL);
  for (const std::string& open : {programs_ + "\\open", std::string("R:\\open")}) {
    CreateDirectoryA(open.c_str(), NULL);
    LetEveryoneChange(open);
  }
  RegistryValueGuard policy(HKEY_LOCAL_MACHINE, kPolicyKey, KEY_WOW64_64KEY, "EnableInstallerDetection");
  ASSERT_TRUE(SUCCEEDED(CoInitialize(NULL)));
  int row = 0;
  for (const auto& c : kCases) {
    SCOPED_TRACE("case " + std::to_string(++row));
    char program[MAX_PATH];
    ExpandEnvironmentStringsA(c.name ? c.name : ("asks" + std::to_string(row) + ".exe").c_str(), program, MAX_PATH);
    if (!strchr(program, ':') && program[0] != '\\') lstrcpyA(program, (programs_ + "\\" + program).c_str());
    CreateDirectoryA(std::string(program, strrchr(program, '\\')).c_str(), NULL);
    if (c.bits == 64) {
      Write64BitProgram(program);
    } else if (program[0] != '\\') {
      WriteProgramWithManifest(program, c.manifest, c.bits == 32 ? TOMAVEL_EXE32 : TOMAVEL_EXE);
    }
    if (strstr(program, "changeable") != NULL) LetEveryoneChange(program);
    if (c.policy < 0) {
      DeleteRegistryValue(HKEY_LOCAL_MACHINE, kPolicyKey, KEY_WOW64_64KEY, "EnableInstallerDetection");
    } else {
      WriteRegistryValue(HKEY_LOCAL_MACHINE, kPolicyKey, KEY_WOW64_64KEY, "EnableInstallerDetection", REG_DWORD,
                         std::string(1, static_cast<char>(c.policy)) + std::string(3, '\0'));
    }
    HKEY root = c.scope == kScopeUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    RegistryValueGuard approved(root, kStartupApprovedKey, KEY_WOW64_64KEY, "Logon.lnk");
    RegistryValueGuard layers(c.layersRoot ? c.layersRoot : HKEY_CURRENT_USER, kLayersKey, KEY_WOW64_64KEY, program);
    if (c.approved >= 0)
      WriteRegistryValue(root, kStartupApprovedKey, KEY_WOW64_64KEY, "Logon.lnk", REG_BINARY,
                         std::string(1, static_cast<char>(c.approved)) + std::string(11, '\0'));
    // Everyone's setting in the 64-bit view only, where Windows keeps it.
    if (c.layersRoot)
      WriteRegistryValue(c.layersRoot, kLayersKey, KEY_WOW64_64KEY, program, REG_SZ,
                         std::string(c.layers, strlen(c.layers) + 1));
    int warn = -1;
    GrowingText text = RegisteredMessage(c.scope, StartupFile(c.scope, "Logon.lnk").c_str(), program, "", NULL, &warn);
    ASSERT_TRUE(text.text);
    EXPECT_EQ(Utf8(kRegistered + c.lines), Utf8(text.text));
    EXPECT_EQ(c.lines.empty() ? 0 : 1, warn) << "the warning icon";
    FreeText(&text);
  }
  CoUninitialize();
}

// A program other entries start too would start twice: the success lists
// each enabled one, in the order of the places, and the removal those that
// still start it, each with its arguments where they are not the
// registration's. A Run value is read as Windows reads a command line: a
// quoted program, or the shortest start naming a file, variables expanded,
// names in any case. One switched off, and another program's, are not named.
TEST_F(RegisterFlow, TheSuccessAndTheRemovalNameEveryOtherEntryThatStartsTheProgram) {
  const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const char kRunApproved[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
  std::string program = programs_ + "\\two words\\app.exe", upper = program.substr(2);
  CreateDirectoryA((programs_ + "\\two words").c_str(), NULL);
  WriteFileBytes(program, "MZ");
  CharUpperA(&upper[0]);
  const struct {
    HKEY root;
    REGSAM view;
    const char* name;
    std::string command;
  } kValues[] = {{HKEY_CURRENT_USER, 0, "Quoted", "\"" + program + "\" --tray"},
                 {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "Unquoted", "%SystemDrive%" + upper + " /min"},
                 {HKEY_CURRENT_USER, 0, "Off", program},
                 {HKEY_CURRENT_USER, 0, "Else", program_}};
  std::list<RegistryValueGuard> guards;
  for (const auto& v : kValues) {
    guards.emplace_back(v.root, kRun, v.view, v.name);
    WriteRegistryValue(v.root, kRun, v.view, v.name, REG_EXPAND_SZ, v.command + '\0');
  }
  guards.emplace_back(HKEY_CURRENT_USER, kRunApproved, 0, "Off");
  WriteRegistryValue(HKEY_CURRENT_USER, kRunApproved, 0, "Off", REG_BINARY, "\x03" + std::string(11, '\0'));
  EXPECT_EQ(S_OK, MakeShortcut(StartupFile(kScopeAllUsers, "Shared.lnk"), program));
  const std::string kLines =
      "\n・「Shared」（すべてのユーザーのスタートアップフォルダ）"
      "\n・「Quoted」（ログインユーザーのレジストリ（Run）、引数「--tray」）"
      "\n・「Unquoted」（すべてのユーザーのレジストリ（Run）、引数「/min」）";
  EXPECT_EQ(1, Register([&] {
              PickAndName(program, "Twice", "");
              ui::ExpectMessageBox("Tomavel", std::string(kRegistered) + "\n\nこのプログラムは、次の登録でもログインしたときに起動します。" + kLines,
                                   kOk, "warning", IDOK, "also-started-message");
            }));
  ui::RunDriven([&] { RemoveShortcut(owner_); }, [&] {
    ui::ChooseFile(ui::WaitForChooser(kShortcutChooser), StartupFile(kScopeUser, "Twice.lnk"));
    ui::ExpectMessageBox("Tomavel", "Twice をスタートアップフォルダから削除します", {IDYES, IDNO}, "information", IDYES);
    ui::ExpectMessageBox("Tomavel",
                         "Twice をスタートアップフォルダから削除しました\n\nこのプログラムは、次の登録でまだログインしたときに起動します。" +
                             kLines,
                         kOk, "warning", IDOK);
  });
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
}

// The success as one result a user takes in at a glance, built directly:
// the outcome, then each reason it may not start, then the other entries
// (five lines at the most, then how many more; arguments said where they are
// not the registration's, and where an entry has none), then the shortcut it
// replaced.
TEST_F(RegisterFlow, TheSuccessTellsTheOutcomeThenWhatMayStopItThenTheRest) {
  const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  std::string program = programs_ + "\\admin.exe";
  WriteProgramWithManifest(program, ManifestAsking("requireAdministrator"));
  RegistryValueGuard approved(HKEY_CURRENT_USER, kStartupApprovedKey, KEY_WOW64_64KEY, "Logon.lnk");
  WriteRegistryValue(HKEY_CURRENT_USER, kStartupApprovedKey, KEY_WOW64_64KEY, "Logon.lnk", REG_BINARY,
                     "\x03" + std::string(11, '\0'));
  // One entry in each Startup folder comes first; the five Run values after
  // them, in the order the registry lists them (created in name order).
  EXPECT_EQ(S_OK, MakeShortcut(StartupFile(kScopeUser, "Other.lnk"), program, "", "-b"));
  EXPECT_EQ(S_OK, MakeShortcut(StartupFile(kScopeAllUsers, "None.lnk"), program));
  std::list<RegistryValueGuard> guards;
  for (char n = '1'; n <= '5'; ++n) {
    std::string name = std::string("Run") + n;
    guards.emplace_back(HKEY_CURRENT_USER, kRun, 0, name.c_str());
    WriteRegistryValue(HKEY_CURRENT_USER, kRun, 0, name.c_str(), REG_SZ, "\"" + program + "\"   -a  " + '\0');
  }
  ASSERT_TRUE(SUCCEEDED(CoInitialize(NULL)));
  int warn = -1;
  GrowingText text =
      RegisteredMessage(kScopeUser, StartupFile(kScopeUser, "Logon.lnk").c_str(), program.c_str(), " -a", "C:\\old.exe", &warn);
  CoUninitialize();
  ASSERT_TRUE(text.text);
  EXPECT_EQ(Utf8(kRegistered + kOff + kAdministrator +
                 "\n\nこのプログラムは、次の登録でもログインしたときに起動します。"
                 "\n・「Other」（ログインユーザーのスタートアップフォルダ、引数「-b」）"
                 "\n・「None」（すべてのユーザーのスタートアップフォルダ、引数なし）"
                 "\n・「Run1」（ログインユーザーのレジストリ（Run））"
                 "\n・「Run2」（ログインユーザーのレジストリ（Run））"
                 "\n・「Run3」（ログインユーザーのレジストリ（Run））"
                 "\n・ほか 2 件"
                 "\n\n同じ名前のショートカットがあったため、置き換えました。\n置き換える前のリンク先: C:\\old.exe"),
            Utf8(text.text));
  EXPECT_EQ(1, warn);
  FreeText(&text);
  DeleteFileA(StartupFile(kScopeUser, "Other.lnk").c_str());
  DeleteFileA(StartupFile(kScopeAllUsers, "None.lnk").c_str());
}

// On 64-bit Windows a 32-bit program is told C:\Program Files (x86)\... for a
// shortcut that 64-bit code made to C:\Program Files\...; Wine makes no such
// change, so the link here holds what reaches the program. Under WoW64 the
// program that is there is the pick; the 64-bit twin is told the truth, and
// a link to a folder where nothing is stands refused.
TEST_F(RegisterFlow, AShortcutIntoThe32BitProgramFilesStandsForTheProgramInThe64BitOne) {
  char folder64[MAX_PATH] = "", folder32[MAX_PATH] = "";
  ASSERT_NE(0u, GetEnvironmentVariableA("ProgramW6432", folder64, MAX_PATH));
  ASSERT_NE(0u, GetEnvironmentVariableA("ProgramFiles(x86)", folder32, MAX_PATH));
  std::string folder = std::string(folder64) + "\\Tomavel 表示", program = folder + "\\app64.exe";
  CreateDirectoryA(folder.c_str(), NULL);
  WriteFileBytes(program, "MZ");
  std::string link = FreshFolder("links64") + "\\64.lnk", told = std::string(folder32) + "\\Tomavel 表示\\app64.exe";
  EXPECT_EQ(S_OK, MakeShortcut(link, told));
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  ASSERT_EQ(sizeof(void*) == 4 ? TRUE : FALSE, wow64) << "the 32-bit stage runs under WoW64";
  EXPECT_EQ(wow64 ? 1 : 0, Register([&] {
              if (wow64) PickAndName(link, "64", "");
              else ui::ChooseFile(ui::WaitForChooser(kProgramChooser), link);
              ui::ExpectMessageBox("Tomavel", wow64 ? kRegistered : kProgramNotFound, kOk, wow64 ? "information" : "warning", IDOK);
            }));
  if (wow64) {
    EXPECT_SHORTCUT(StartupFile(kScopeUser, "64.lnk"), {program, folder, ""});
    EXPECT_EQ(Utf8(folder), Utf8(appState.initialFolder)) << "the next chooser opens in the program's folder";
  }
  EXPECT_EQ(wow64 ? 1u : 0u, NewFiles(kScopeUser).size());
  RemoveTree(folder);
}

// A picked shortcut stands for its program (Wine's chooser hands back a typed
// shortcut itself, Windows' its target): one whose program is gone would start
// nothing at logon and is refused; one to a program that is there registers
// that program.
TEST_F(RegisterFlow, APickedShortcutStandsForItsProgramAndOneToAProgramThatIsGoneIsRefused) {
  std::string links = FreshFolder("links");
  std::string gone = programs_ + "\\消えた.exe";
  WriteFileBytes(gone, "MZ");
  for (const std::string& target : {gone, program_})
    EXPECT_EQ(S_OK, MakeShortcut(links + (target == gone ? "\\消えた.lnk" : "\\残る.lnk"), target, programs_));
  DeleteFileA(gone.c_str());
  lstrcpyA(appState.initialFolder, links.c_str());

  EXPECT_EQ(0, Register([&] {
              HWND chooser = ui::WaitForChooser(kProgramChooser);
              ASSERT_TRUE(chooser);
              ui::ChooseFile(chooser, links + "\\消えた.lnk");
              ui::ExpectMessageBox("Tomavel", kProgramNotFound, kOk, "warning", IDOK, "program-not-found-message", owner_);
            }));
  EXPECT_STREQ("", appState.chosenPath);
  EXPECT_EQ(Utf8(links), Utf8(NextChooserFolder())) << "the next chooser opens where this one did";
  EXPECT_EQ(1, Register([&] {
              PickAndName(links + "\\残る.lnk", "残る", "");
              ui::ExpectMessageBox("Tomavel", kRegistered, kOk, "information", IDOK);
            }));
  EXPECT_EQ(std::set<std::string>{"残る.lnk"}, NewFiles(kScopeUser));
  EXPECT_SHORTCUT(StartupFile(kScopeUser, "残る.lnk"), {program_, programs_, ""});
}

// --- Failures: each says what went wrong, writes nothing, and stops --------

TEST_F(RegisterFlow, AMissingStartupFolderIsReportedBeforeAnythingIsWritten) {
  std::string away = userStartup_ + ".away";
  ASSERT_TRUE(MoveFileA(userStartup_.c_str(), away.c_str()));
  int result = Register([&] {
    // Before anything is chosen or typed: no chooser opens.
    ui::ExpectMessageBox("Tomavel", "スタートアップフォルダが見つかりませんでした。", kOk, "warning", IDOK, nullptr, owner_);
  });
  bool folderCameBack = FileExists(userStartup_);
  ASSERT_TRUE(MoveFileA(away.c_str(), userStartup_.c_str()));
  EXPECT_EQ(0, result);
  EXPECT_FALSE(folderCameBack) << "nothing created the folder";
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
}

TEST_F(RegisterFlow, AfterAFailureTheMainWindowGoesOnWorking) {
  INT_PTR result = DriveMainWindow([&](HWND main) {
                  ui::Click(main, IDC_REGISTER);
                  ExpectTitleRefused("bad|name", kForbidden);
                  ASSERT_TRUE(WaitForIdleMainWindow(true));
                  ui::Click(main, IDC_SCOPE_ALL);
                  EXPECT_TRUE(ui::WaitUntil([] { return appState.scope == kScopeAllUsers; }));
                  ui::Click(main, IDC_REGISTER);
                  PickAndName(program_, "Recovered", "");
                  ui::ExpectMessageBox("Tomavel", kRegistered, kOk, "information", IDOK);
  });
  EXPECT_EQ(IDC_EXIT, result);
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
  EXPECT_EQ(std::set<std::string>{"Recovered.lnk"}, NewFiles(kScopeAllUsers));
}

// A write that fails although the folder lets this process add files (a
// folder of the shortcut's name here) is told as before; in the all-users
// folder with what to do about it.
TEST_F(RegisterFlow, AWriteRefusedInTheAllUsersFolderSaysHowToStartAsAdministrator) {
  std::string kept = StartupFile(kScopeAllUsers, "Kept.lnk");
  ASSERT_TRUE(CreateDirectoryA(kept.c_str(), NULL));
  appState.scope = kScopeAllUsers;
  EXPECT_EQ(1, Register([&] {
              PickAndName(program_, "Kept", "");
              ui::ExpectMessageBox("Tomavel",
                                   std::string(kNotWritten) +
                                       "\n\nアクセスが拒否されました。\n\nすべてのユーザーのスタートアップフォルダを変更するには、"
                                       "Tomavel をいったん終了し、右クリックして［管理者として実行］を選んで起動し直してください。",
                                   kOk, "warning", IDOK, "access-denied-message");
            }));
  EXPECT_EQ(std::set<std::string>{"Kept.lnk"}, NewFiles(kScopeAllUsers));
  EXPECT_TRUE(FileNames(kept).empty());
  RemoveDirectoryA(kept.c_str());
}

// COM already set up for another apartment on this thread: the program's
// CoInitialize fails, after the title was typed or when a picked shortcut is
// to be read, and it says so with the system's words for the code (whatever
// they are: Wine has none for RPC_E_CHANGED_MODE), never as a program that
// is not there.
TEST_F(RegisterFlow, ACoInitializeThatFailsIsSaidAndNothingIsWritten) {
  std::string links = FreshFolder("links");
  ASSERT_EQ(S_OK, MakeShortcut(links + "\\app.lnk", program_, programs_));
  char reason[512] = "<sentinel>";
  SystemErrorText(static_cast<DWORD>(RPC_E_CHANGED_MODE), reason, sizeof reason);
  const struct {
    std::string picked;
    std::string text;
  } kPicks[] = {{program_, std::string(kNotWritten) + "\n\n" + reason},
                {links + "\\app.lnk", std::string("選択したショートカットを読み込めなかったため登録できませんでした。\n\n") + reason}};
  for (const auto& pick : kPicks) {
    SCOPED_TRACE(pick.picked);
    ASSERT_EQ(S_OK, CoInitializeEx(NULL, COINIT_MULTITHREADED));
    int result = Register([&] {
      if (EndsWithLnk(pick.picked.c_str())) {
        ui::ChooseFile(ui::WaitForChooser(kProgramChooser), pick.picked);
      } else {
        PickAndName(pick.picked, "NoCom", "");
      }
      ui::ExpectMessageBox("Tomavel", pick.text, kOk, "warning", IDOK);
    });
    CoUninitialize();
    EXPECT_EQ(0, result);
    EXPECT_TRUE(NewFiles(kScopeUser).empty());
  }
}

// Windows' nine: three would leave the Startup folder or name a stream, six
// would make the save fail with the system's words about syntax. Each is
// refused while the title dialog is still open.
TEST_F(RegisterFlow, TitlesWithForbiddenCharactersOrDeviceNamesAreRefusedBeforeAnythingIsWritten) {
  const std::string kDevice = "タイトルに CON、NUL、COM1 などのデバイス名は使えません。";
  // Where "a\b" and "..\..\x" would have landed.
  std::string subfolder = StartupFile(kScopeUser, "a");
  ASSERT_TRUE(CreateDirectoryA(subfolder.c_str(), NULL));
  char above[MAX_PATH];
  ASSERT_TRUE(GetFullPathNameA((userStartup_ + "\\..\\..\\x.lnk").c_str(), sizeof above, above, NULL));
  const struct {
    const char* title;
    const std::string& warning;
  } kRefused[] = {{"..\\..\\x", kForbidden}, {"a\\b", kForbidden}, {"a:b", kForbidden}, {"a?b", kForbidden},
                  {"*", kForbidden},         {"\"x\"", kForbidden}, {"<a>", kForbidden}, {"ポ|", kForbidden},
                  {"nul", kDevice},          {"Com1", kDevice},    {"aux.txt", kDevice}};
  for (const auto& refused : kRefused) {
    SCOPED_TRACE(refused.title);
    EXPECT_EQ(0, Register([&] { ExpectTitleRefused(refused.title, refused.warning); }));
  }
  EXPECT_EQ(std::set<std::string>{"a"}, NewFiles(kScopeUser));
  EXPECT_TRUE(FileNames(subfolder).empty()) << "nothing in the subfolder";
  EXPECT_FALSE(FileExists(above)) << "nothing above the Startup folder";
  EXPECT_TRUE(NewFiles(kScopeAllUsers).empty());
  EXPECT_EQ(programs_, appState.initialFolder) << "the next chooser opens in the picked program's folder";
  RemoveTree(subfolder);

  // Titles that only look like those register as before: 表 and ソ end in
  // the byte of a backslash, ポ in that of |; NULL and COM10 name no device.
  for (const char* title : {"表ソ", "ポップ", "NULL", "COM10"}) {
    SCOPED_TRACE(Utf8(title));
    EXPECT_EQ(1, Register([&] {
                PickAndName(program_, title, "");
                ui::ExpectMessageBox("Tomavel", kRegistered, kOk, "information", IDOK);
              }));
    EXPECT_SHORTCUT(StartupFile(kScopeUser, std::string(title) + ".lnk"), {program_, programs_, ""});
    DeleteFileA(StartupFile(kScopeUser, std::string(title) + ".lnk").c_str());  // one entry at a time
  }
}

// Users and administrators move the Startup folder (User Shell Folders). In
// a folder named Starté the ANSI call would give the look-alike Starte, which
// exists here too: both flows refuse, and nothing lands in either folder.
TEST_F(RegisterFlow, AStartupFolderWhosePathTheCodePageCannotHoldIsRefusedByBothFlows) {
  const char kNotExact[] =
      "スタートアップフォルダのパスに、このプログラムで扱えない文字が含まれているため、処理を続けられませんでした。";
  std::string moved = FreshFolder("moved");
  std::wstring accented = Wide(moved) + L"\\Start\u00E9";
  ASSERT_TRUE(CreateDirectoryW(accented.c_str(), NULL));
  ASSERT_TRUE(CreateDirectoryA((moved + "\\Starte").c_str(), NULL));
  HKEY folders = NULL;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER,
                                         L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                                         0, KEY_QUERY_VALUE | KEY_SET_VALUE, &folders));
  WCHAR saved[MAX_PATH];
  DWORD savedSize = sizeof saved, savedType = 0;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(folders, L"Startup", NULL, &savedType, reinterpret_cast<BYTE*>(saved), &savedSize));
  INT_PTR result = DriveMainWindow([&](HWND main) {
    RegSetValueExW(folders, L"Startup", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(accented.c_str()),
                   static_cast<DWORD>((accented.size() + 1) * sizeof(WCHAR)));
    ui::Click(main, IDC_REGISTER);  // the warning comes instead of the chooser
    ui::ExpectMessageBox("Tomavel", kNotExact, kOk, "warning", IDOK, "startup-folder-not-exact-message", main);
    ASSERT_TRUE(WaitForIdleMainWindow(true));
    ui::Click(main, IDC_REMOVE);  // the warning comes instead of the chooser
    ui::ExpectMessageBox("Tomavel", kNotExact, kOk, "warning", IDOK, nullptr, main);
  });
  RegSetValueExW(folders, L"Startup", 0, savedType, reinterpret_cast<const BYTE*>(saved), savedSize);
  RegCloseKey(folders);
  EXPECT_EQ(IDC_EXIT, result) << "the main window went on";
  EXPECT_TRUE(FileNames(moved + "\\Starte").empty());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((accented + L"\\Moved.lnk").c_str()));
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
  RemoveDirectoryW(accented.c_str());
}

// Double-byte folder names (85 characters at most, as Linux allows) give a
// valid Windows path of under 260 UTF-16 units that is over 259 bytes.
TEST_F(RegisterFlow, AProgramPathTooLongForTheProgramIsRefusedNeverCut) {
  std::string folder = FreshFolder("long") + "\\" + Repeat("表", 80);
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
  folder += "\\" + Repeat("ソ", 80);
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
  std::string program = folder + "\\長い.exe";
  WriteFileBytes(program, "MZ");
  ASSERT_GT(program.size(), 259u);
  ASSERT_LT(MultiByteToWideChar(CP_ACP, 0, program.c_str(), -1, NULL, 0), 260);
  lstrcpyA(appState.initialFolder, programs_.c_str());

  EXPECT_EQ(0, Register([&] {
              HWND chooser = ui::WaitForChooser(kProgramChooser);
              ASSERT_TRUE(chooser);
              ui::ChooseFile(chooser, program);
              ui::ExpectMessageBox("Tomavel", "選択したファイルのパスが長すぎるため登録できませんでした。", kOk, "warning",
                                   IDOK, "path-too-long-message", owner_);
            }));
  EXPECT_STREQ("", appState.chosenPath) << "no cut path is left for a later step";
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
  EXPECT_TRUE(NewFiles(kScopeAllUsers).empty());

  EXPECT_EQ(programs_, NextChooserFolder()) << "the next chooser opens where this one did";
  EXPECT_EQ(programs_, appState.initialFolder);
}

// The ANSI chooser hands back a look-alike for a name code page 932 cannot
// hold: café.exe as cafe.exe (another program), 〜 as ?. Such a pick is
// refused; every name the code page holds registers exactly as picked.
TEST_F(RegisterFlow, AProgramNameTheCodePageCannotHoldIsRefusedNeverSwappedForALookAlike) {
  WriteFileBytes(programs_ + "\\cafe.exe", "MZ");
  for (const std::wstring& name : {std::wstring(L"caf\u00E9.exe"), std::wstring(L"\u6CE2\u301C.exe")}) {
    std::wstring program = Wide(programs_) + L"\\" + name;
    WriteFileW(program);
    EXPECT_EQ(0, Register([&] {
                HWND chooser = ui::WaitForChooser(kProgramChooser);
                ASSERT_TRUE(chooser);
                ui::ChooseFile(chooser, program);
                ui::ExpectMessageBox("Tomavel",
                                     "選択したファイルの名前に、このプログラムで扱えない文字が含まれているため登録できませんでした。",
                                     kOk, "warning", IDOK, nullptr, owner_);
              }));
    EXPECT_STREQ("", appState.chosenPath) << Utf8(appState.chosenPath);
    DeleteFileW(program.c_str());
  }
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
  EXPECT_STREQ("", appState.initialFolder) << "the next chooser opens where this one did";

  // Circled digits, the full-width tilde (not the wave dash), half-width kana.
  std::string exact = programs_ + "\\①～ｱ表示.exe";
  WriteFileBytes(exact, "MZ");
  EXPECT_EQ(1, Register([&] {
              PickAndName(exact, "表示", "");
              ui::ExpectMessageBox("Tomavel", kRegistered, kOk, "information", IDOK);
            }));
  EXPECT_SHORTCUT(StartupFile(kScopeUser, "表示.lnk"), {exact, programs_, ""});
}

// Only automation reaches these: the main window is disabled while a flow
// runs, but a command sent to it still arrives. None may open anything, move
// the scope or end the window; each only brings the flow's front window
// forward.
TEST_F(RegisterFlow, CommandsSentWhileAFlowRunsChangeNothing) {
  HWND main = NULL;
  auto sendEverything = [&](HWND front, const char* during) {
    SCOPED_TRACE(during);
    // As a click on its taskbar button does, disabled as it is.
    SetForegroundWindow(main);
    ASSERT_TRUE(ui::WaitUntil([&] { return GetForegroundWindow() == main; })) << "the main window activated";
    StartupScope scope = appState.scope;
    // The same windows, in any order: the front one comes forward.
    auto windows = [] {
      std::vector<HWND> now = ui::VisibleWindows();
      return std::set<HWND>(now.begin(), now.end());
    };
    std::set<HWND> before = windows();
    DWORD_PTR ignored = 0;
    for (int id : {IDC_REGISTER, IDC_REMOVE, IDC_SCOPE_USER, IDC_SCOPE_ALL, IDC_EXIT})
      EXPECT_TRUE(SendMessageTimeoutA(main, WM_COMMAND, id, 0, SMTO_NORMAL, ui::Scaled(3000), &ignored))
          << "command " << id << " returns at once, having opened nothing";
    // A click on the radio button that is not chosen checks it by itself.
    HWND other = GetDlgItem(main, scope == kScopeUser ? IDC_SCOPE_ALL : IDC_SCOPE_USER);
    EXPECT_TRUE(SendMessageTimeoutA(other, BM_CLICK, 0, 0, SMTO_NORMAL, ui::Scaled(3000), &ignored));
    EXPECT_TRUE(SendMessageTimeoutA(main, WM_CLOSE, 0, 0, SMTO_NORMAL, ui::Scaled(3000), &ignored))
        << "closing returns at once, without a question";
    EXPECT_EQ(before, windows()) << "no window opened or closed";
    EXPECT_EQ(scope, appState.scope);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(other, BM_GETCHECK, 0, 0)) << "the scope shown stays";
    EXPECT_EQ(front, GetForegroundWindow()) << "the flow's window is in front";
  };
  INT_PTR result = 12345;
  ui::RunDriven([&] { result = RunMainWindow(); },
                [&] {
                  HWND chooser = ui::WaitForChooser(kProgramChooser);
                  ASSERT_TRUE(chooser);
                  main = FindMainWindow();
                  sendEverything(chooser, "the program chooser at start-up");
                  ui::CancelChooser(chooser);
                  ASSERT_TRUE(WaitForIdleMainWindow());
                  ui::Click(main, IDC_SCOPE_ALL);
                  ASSERT_TRUE(ui::WaitUntil([] { return appState.scope == kScopeAllUsers; }));

                  ui::Click(main, IDC_REGISTER);
                  chooser = ui::WaitForChooser(kProgramChooser);
                  ASSERT_TRUE(chooser);
                  sendEverything(chooser, "the program chooser");
                  ui::ChooseFile(chooser, program_);
                  HWND dialog = WaitForTitleDialog();
                  ASSERT_TRUE(dialog);
                  ui::Type(dialog, IDC_TITLE, "Guarded");
                  sendEverything(dialog, "the title dialog");
                  EXPECT_EQ(Utf8(program_), Utf8(appState.chosenPath));
                  ui::Click(dialog, IDC_TITLE_OK);
                  ui::MessageBoxSeen box;
                  ASSERT_TRUE(ui::WaitForMessageBox("Tomavel", &box));
                  sendEverything(box.window, "the registration message");
                  ui::Answer(box, IDOK);

                  ASSERT_TRUE(WaitForIdleMainWindow(true));
                  ui::Click(main, IDC_REMOVE);
                  chooser = ui::WaitForChooser(kShortcutChooser);
                  ASSERT_TRUE(chooser);
                  sendEverything(chooser, "the shortcut chooser");
                  ui::CancelChooser(chooser);
                  ASSERT_TRUE(WaitForIdleMainWindow(true));
                  ui::Click(main, IDC_EXIT);
                });
  EXPECT_EQ(IDC_EXIT, result);
  EXPECT_EQ(std::set<std::string>{"Guarded.lnk"}, NewFiles(kScopeAllUsers));
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
  EXPECT_SHORTCUT(StartupFile(kScopeAllUsers, "Guarded.lnk"), {program_, programs_, ""});
}

// --- Refusing Startup folders: run by tests/with-refusing-startup ----------

class RefusingStartup : public RegisterFlow {
 protected:
  void SetUp() override {
    char flag[8] = "";
    GetEnvironmentVariableA("TOMAVEL_STARTUP_REFUSING", flag, sizeof flag);
    if (lstrcmpA(flag, "1") != 0) GTEST_SKIP() << "needs Startup folders that refuse writes";
    RegisterFlow::SetUp();
  }
};

// Without the right to write the scope's Startup folder, the user hears so
// before choosing a program or typing anything: no chooser opens.
TEST_F(RefusingStartup, WithoutTheRightToWriteTheFolderTheRefusalComesBeforeTheChooser) {
  const struct {
    StartupScope scope;
    const char* text;
    const char* screenshot;
  } kScopes[] = {{kScopeUser, "ログインユーザーのスタートアップフォルダに書き込む権限がないため、登録できません。", nullptr},
                 {kScopeAllUsers,
                  "すべてのユーザーのスタートアップフォルダに書き込む権限がないため、登録できません。"
                  "Tomavel をいったん終了し、右クリックして［管理者として実行］を選んで起動し直してください。",
                  "no-right-message"}};
  for (const auto& c : kScopes) {
    appState.scope = c.scope;
    EXPECT_EQ(0, Register([&] { ui::ExpectMessageBox("Tomavel", c.text, kOk, "warning", IDOK, c.screenshot, owner_); }));
    EXPECT_EQ(nullptr, FindWindowA("#32770", kProgramChooser)) << "no chooser";
  }
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
  EXPECT_TRUE(NewFiles(kScopeAllUsers).empty());
}

}  // namespace
