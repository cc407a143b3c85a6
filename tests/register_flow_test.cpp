// The register flow end to end: the real chooser, the title dialog and the
// shell writing into the prefix's Startup folders; then the files on disk.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "flows/register_flow.h"
#include "res/resource.h"
#include "tests/app_driver.h"
#include "tests/test_support.h"
#include "tests/ui_driver.h"

using namespace app_driver;
using namespace testing_support;

namespace {

const char kRegistered[] = "スタートアップへショートカットを登録しました";
const char kNotWritten[] = "ショートカットを登録できませんでした。";
const char kCancelled[] = "スタートアップへの登録はキャンセルされました";
const std::vector<int> kOk = {IDOK};

class RegisterFlow : public FlowTest {
 protected:
  // One registration as the user does it, from the program chooser on.
  void PickAndName(const std::string& program, const std::string& title, const std::string& arguments) {
    HWND chooser = ui::WaitForChooser(kProgramChooser);
    ASSERT_TRUE(chooser);
    ui::ChooseFile(chooser, program);
    HWND dialog = WaitForTitleDialog();
    ASSERT_TRUE(dialog);
    ui::Type(dialog, IDC_TITLE, title);
    ui::Type(dialog, IDC_ARGUMENTS, arguments);
    ui::Click(dialog, IDC_TITLE_OK);
  }
  int Register(const std::function<void()>& driver) {
    int result = -1;
    ui::RunDriven([&] { result = RegisterProgram(owner_); }, driver);
    return result;
  }
};

TEST_F(RegisterFlow, TheRegisterButtonWritesTheShortcutAndSaysSo) {
  std::string arguments = "--tray \"C:\\a b\" 表示";
  ui::RunDriven([&] { RunMainWindow(); },
                [&] {
                  HWND main = CancelOpeningChooser();
                  ASSERT_TRUE(main);
                  ui::Click(main, IDC_REGISTER);
                  HWND chooser = ui::WaitForChooser(kProgramChooser);
                  ASSERT_TRUE(chooser);
                  Sleep(200);
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
                  ASSERT_TRUE(WaitForIdleMainWindow(true));
                  ui::Click(main, IDC_EXIT);
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
  EXPECT_EQ(1, Register([&] {
              PickAndName(program_, "a.LNK.b", "-x");
              ui::ExpectMessageBox("Tomavel", kRegistered, kOk, "information", IDOK);
            }));
  EXPECT_EQ((std::set<std::string>{"Mail.lnk", "a.LNK.b"}), NewFiles(kScopeUser));
  EXPECT_SHORTCUT(StartupFile(kScopeUser, "Mail.lnk"), {program_, programs_, ""});
  EXPECT_SHORTCUT(StartupFile(kScopeUser, "a.LNK.b"), {program_, programs_, "-x"});
}

TEST_F(RegisterFlow, CancellingTheTitleWritesNothingAndTheNextChooserOpensInTheProgramsFolder) {
  // 表 is 0x95 0x5C: the folder must be split at the real separator.
  std::string folder = programs_ + "\\表";
  CreateDirectoryA(folder.c_str(), NULL);
  std::string program = folder + "\\表.exe";
  WriteFileBytes(program, "MZ");
  lstrcpyA(appState.title, "stale");
  EXPECT_EQ(0, Register([&] {
              HWND chooser = ui::WaitForChooser(kProgramChooser);
              ASSERT_TRUE(chooser);
              ui::ChooseFile(chooser, program);
              HWND dialog = WaitForTitleDialog();
              ASSERT_TRUE(dialog);
              ui::Type(dialog, IDC_TITLE, "never");
              ui::Click(dialog, IDC_TITLE_CANCEL);
            }));
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
  EXPECT_EQ(Utf8(folder), Utf8(appState.initialFolder));

  std::string opened;
  EXPECT_EQ(0, Register([&] {
              HWND chooser = ui::WaitForChooser(kProgramChooser);
              ASSERT_TRUE(chooser);
              opened = ui::ChooserFolder(chooser);
              ui::CancelChooser(chooser);
            }));
  EXPECT_EQ(Utf8(folder), Utf8(opened));
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
  ui::RunDriven([&] { RunMainWindow(); },
                [&] {
                  HWND main = CancelOpeningChooser();
                  ASSERT_TRUE(main);
                  ui::Click(main, IDC_SCOPE_ALL);
                  ASSERT_TRUE(ui::WaitUntil([] { return appState.scope == kScopeAllUsers; }));
                  ui::Click(main, IDC_REGISTER);
                  PickAndName(program_, "全員", "");
                  ui::ExpectMessageBox("Tomavel", kRegistered, kOk, "information", IDOK);
                  ASSERT_TRUE(WaitForIdleMainWindow(true));
                  ui::Click(main, IDC_EXIT);
                });
  EXPECT_EQ(std::set<std::string>{"全員.lnk"}, NewFiles(kScopeAllUsers));
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
  EXPECT_SHORTCUT(StartupFile(kScopeAllUsers, "全員.lnk"), {program_, programs_, ""});
}

TEST_F(RegisterFlow, ASameNamedShortcutIsReplacedWithoutAQuestion) {
  std::string existing = StartupFile(kScopeUser, "Same.lnk");
  WriteFileBytes(existing, "an older file of the same name");
  EXPECT_EQ(1, Register([&] {
              PickAndName(program_, "Same", "--new");
              ui::ExpectMessageBox("Tomavel", kRegistered, kOk, "information", IDOK);
            }));
  EXPECT_SHORTCUT(existing, {program_, programs_, "--new"});
  DeleteFileA(existing.c_str());
}

// --- Failures: each says what went wrong, writes nothing, and stops --------

TEST_F(RegisterFlow, ATitleWithACharacterFileNamesMayNotHoldFailsVisibly) {
  EXPECT_EQ(1, Register([&] {
              PickAndName(program_, "what?", "");
              ui::ExpectMessageBox("Tomavel", std::string(kNotWritten) + "\n\n名前は正しくありません。", kOk, "warning",
                                   IDOK);
            }));
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
}

TEST_F(RegisterFlow, ATitleTooLongForThePathLimitIsRefused) {
  std::string title(199, 'x');
  EXPECT_EQ(0, Register([&] {
              PickAndName(program_, title, "");
              ui::ExpectMessageBox("Tomavel", "タイトルが長すぎるため登録できませんでした。", kOk, "warning", IDOK);
            }));
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
}

TEST_F(RegisterFlow, AMissingStartupFolderIsReportedBeforeAnythingIsWritten) {
  std::string away = userStartup_ + ".away";
  ASSERT_TRUE(MoveFileA(userStartup_.c_str(), away.c_str()));
  int result = Register([&] {
    PickAndName(program_, "Nowhere", "");
    ui::ExpectMessageBox("Tomavel", "スタートアップフォルダが見つかりませんでした。", kOk, "warning", IDOK);
  });
  bool folderCameBack = FileExists(userStartup_);
  ASSERT_TRUE(MoveFileA(away.c_str(), userStartup_.c_str()));
  EXPECT_EQ(0, result);
  EXPECT_FALSE(folderCameBack) << "nothing created the folder";
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
}

TEST_F(RegisterFlow, AfterAFailureTheMainWindowGoesOnWorking) {
  INT_PTR result = 0;
  ui::RunDriven([&] { result = RunMainWindow(); },
                [&] {
                  HWND main = CancelOpeningChooser();
                  ASSERT_TRUE(main);
                  ui::Click(main, IDC_REGISTER);
                  PickAndName(program_, "bad|name", "");
                  ui::ExpectMessageBox("Tomavel", std::string(kNotWritten) + "\n\n名前は正しくありません。", kOk,
                                       "warning", IDOK);
                  ASSERT_TRUE(WaitForIdleMainWindow(true));
                  ui::Click(main, IDC_SCOPE_ALL);
                  EXPECT_TRUE(ui::WaitUntil([] { return appState.scope == kScopeAllUsers; }));
                  ui::Click(main, IDC_REGISTER);
                  PickAndName(program_, "Recovered", "");
                  ui::ExpectMessageBox("Tomavel", kRegistered, kOk, "information", IDOK);
                  ASSERT_TRUE(WaitForIdleMainWindow(true));
                  ui::Click(main, IDC_EXIT);
                });
  EXPECT_EQ(IDC_EXIT, result);
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
  EXPECT_EQ(std::set<std::string>{"Recovered.lnk"}, NewFiles(kScopeAllUsers));
}

// --- Refusing Startup folders: run by tests/with-immutable-startup ---------

class ImmutableStartup : public RegisterFlow {
 protected:
  void SetUp() override {
    char flag[8] = "";
    GetEnvironmentVariableA("TOMAVEL_STARTUP_IMMUTABLE", flag, sizeof flag);
    if (lstrcmpA(flag, "1") != 0) GTEST_SKIP() << "needs Startup folders that refuse writes";
    RegisterFlow::SetUp();
  }
};

TEST_F(ImmutableStartup, AccessDeniedIsReportedAndNothingClaimsSuccess) {
  EXPECT_EQ(1, Register([&] {
              PickAndName(program_, "Denied", "");
              ui::ExpectMessageBox("Tomavel", std::string(kNotWritten) + "\n\nアクセスが拒否されました。", kOk,
                                   "warning", IDOK);
            }));
  EXPECT_TRUE(NewFiles(kScopeUser).empty());
}

TEST_F(ImmutableStartup, InTheAllUsersFolderTheMessageSaysToRunAsAdministrator) {
  appState.scope = kScopeAllUsers;
  EXPECT_EQ(1, Register([&] {
              PickAndName(program_, "Denied", "");
              ui::ExpectMessageBox("Tomavel",
                                   std::string(kNotWritten) +
                                       "\n\nアクセスが拒否されました。\n\nすべてのユーザーに適用するには、管理者として実行してください。",
                                   kOk, "warning", IDOK, "access-denied-message");
            }));
  EXPECT_TRUE(NewFiles(kScopeAllUsers).empty());
}

}  // namespace
