// The remove flow end to end: the real shortcut chooser, the confirmation,
// the deletion, and the files left on disk.
#include <gtest/gtest.h>

#include "flows/app_state.h"
#include "flows/remove_flow.h"
#include "res/resource.h"
#include "tests/app_driver.h"
#include "tests/test_support.h"
#include "tests/ui_driver.h"

using namespace app_driver;
using namespace testing_support;

namespace {

const std::vector<int> kOk = {IDOK};
const std::vector<int> kYesNo = {IDYES, IDNO};

class RemoveFlow : public FlowTest {
 protected:
  void SetUp() override {
    FlowTest::SetUp();
    shortcut_ = StartupFile(kScopeUser, "表示.lnk");
    ASSERT_EQ(S_OK, MakeShortcut(shortcut_, program_, programs_));
  }
  int Remove(const std::function<void()>& driver) {
    int result = -1;
    ui::RunDriven([&] { result = RemoveShortcut(owner_); }, driver);
    return result;
  }
  // Picks a file in the shortcut chooser; returns the folder it opened in.
  std::string Pick(const std::string& path) {
    HWND chooser = ui::WaitForChooser(kShortcutChooser);
    if (!chooser) return "<no chooser>";
    std::string folder = ui::ChooserFolder(chooser);
    ui::ChooseFile(chooser, path);
    return folder;
  }
  std::string shortcut_;
};

TEST_F(RemoveFlow, TheChooserOpensInTheScopesStartupFolderWhateverTheProgramChooserUsed) {
  lstrcpyA(appState.initialFolder, programs_.c_str());
  SetCurrentDirectoryA(programs_.c_str());
  for (StartupScope scope : {kScopeUser, kScopeAllUsers, kScopeUser}) {
    appState.scope = scope;
    std::string opened;
    EXPECT_EQ(0, Remove([&] {
                HWND chooser = ui::WaitForChooser(kShortcutChooser);
                ASSERT_TRUE(chooser);
                opened = ui::ChooserFolder(chooser);
                ui::CancelChooser(chooser);
              }));
    EXPECT_EQ(scope == kScopeUser ? userStartup_ : allStartup_, opened) << "scope " << scope;
    EXPECT_STREQ("", appState.chosenPath);
  }
  EXPECT_EQ(programs_, appState.initialFolder) << "the shortcut chooser leaves the program chooser's folder alone";
  EXPECT_TRUE(FileExists(shortcut_));
}

TEST_F(RemoveFlow, NoKeepsTheFileAndSaysSo) {
  EXPECT_EQ(0, Remove([&] {
              Pick(shortcut_);
              ui::ExpectMessageBox("Tomavel", "表示 をスタートアップフォルダから削除します", kYesNo, "information", IDNO,
                                   "remove-confirmation");
              ui::ExpectMessageBox("Tomavel", "処理はキャンセルされ削除されませんでした", kOk, "information", IDOK);
            }));
  EXPECT_TRUE(FileExists(shortcut_));
}

TEST_F(RemoveFlow, YesFromTheRemoveButtonDeletesTheShortcutNeverItsProgram) {
  DriveMainWindow([&](HWND main) {
                  ui::Click(main, IDC_REMOVE);
                  EXPECT_EQ(userStartup_, Pick(shortcut_));
                  ui::ExpectMessageBox("Tomavel", "表示 をスタートアップフォルダから削除します", kYesNo, "information",
                                       IDYES);
                  ui::ExpectMessageBox("Tomavel", "表示 をスタートアップフォルダから削除しました", kOk, "information",
                                       IDOK);
  });
  EXPECT_EQ(Utf8(shortcut_), Utf8(appState.chosenPath)) << "the chooser returns the shortcut, not its target";
  EXPECT_FALSE(FileExists(shortcut_));
  EXPECT_TRUE(FileExists(program_)) << "the program the shortcut pointed to is untouched";
}

// Only a file directly in a Startup folder is removed: the scope's own, or
// the other one, which the chooser reaches too. A file elsewhere (through
// "all files") or in a folder inside a Startup folder is refused before the
// question, and nothing is deleted.
TEST_F(RemoveFlow, OnlyAFileDirectlyInAStartupFolderIsRemoved) {
  std::string inner = StartupFile(kScopeUser, "inner"), shared = StartupFile(kScopeAllUsers, "共有.old.lnk");
  CreateDirectoryA(inner.c_str(), NULL);
  for (const std::string& file : {programs_ + "\\notes.old.txt", inner + "\\nested.lnk", shared}) {
    WriteFileBytes(file, "x");
    bool refused = file != shared;
    EXPECT_EQ(0, Remove([&] {
                Pick(file);
                if (refused) {
                  ui::ExpectMessageBox("Tomavel", "スタートアップフォルダにないファイルは削除できません。", kOk, "warning", IDOK,
                                       "not-in-startup-folder-message", owner_);
                  return;
                }
                ui::ExpectMessageBox("Tomavel", "共有.old をスタートアップフォルダから削除します", kYesNo, "information", IDYES);
                ui::ExpectMessageBox("Tomavel", "共有.old をスタートアップフォルダから削除しました", kOk, "information", IDOK);
              }));
    EXPECT_EQ(refused, FileExists(file)) << Utf8(file);
  }
  EXPECT_TRUE(FileExists(shortcut_));
  RemoveTree(inner);
}

// A file that cannot be deleted is reported and kept. The hint to start as
// administrator follows the folder the file is in, whichever scope is
// chosen: the chooser reaches both folders.
TEST_F(RemoveFlow, AFileThatCannotBeDeletedIsReportedAndKeptWithAHintForTheAllUsersFolder) {
  const std::string kHint =
      "\n\nすべてのユーザーのスタートアップフォルダを変更するには、Tomavel をいったん終了し、右クリックして"
      "［管理者として実行］を選んで起動し直してください。";
  const struct {
    StartupScope chosen;
    StartupScope folder;
    std::string hint;
    const char* screenshot;
  } kCases[] = {{kScopeUser, kScopeUser, "", "deletion-failed-message"},
                {kScopeAllUsers, kScopeUser, "", nullptr},
                {kScopeUser, kScopeAllUsers, kHint, "all-users-deletion-failed-message"},
                {kScopeAllUsers, kScopeAllUsers, kHint, nullptr}};
  for (const auto& c : kCases) {
    SCOPED_TRACE("chosen " + std::to_string(c.chosen) + ", in " + std::to_string(c.folder));
    appState.scope = c.chosen;
    std::string kept = StartupFile(c.folder, "共有.lnk");
    WriteFileBytes(kept, "x");
    SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0, Remove([&] {
                Pick(kept);
                ui::ExpectMessageBox("Tomavel", "共有 をスタートアップフォルダから削除します", kYesNo, "information", IDYES);
                ui::ExpectMessageBox("Tomavel", "共有 を削除できませんでした。\n\nアクセスが拒否されました。" + c.hint, kOk,
                                     "warning", IDOK, c.screenshot, owner_);
              }));
    EXPECT_TRUE(FileExists(kept));
    SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(kept.c_str());
  }
}

// Anyone who can write into the Startup folder can name a file with the yen
// sign, which code page 932 cannot hold: handed back as a backslash, it
// would aim the deletion at a file two folders up.
TEST_F(RemoveFlow, ANameTheCodePageCannotHoldIsRefusedAndNothingIsDeleted) {
  std::wstring decoy = Wide(userStartup_) + L"\\a\u00A5..\u00A5..\u00A5victim.lnk";
  char victim[MAX_PATH];
  ASSERT_TRUE(GetFullPathNameA((userStartup_ + "\\a\\..\\..\\victim.lnk").c_str(), sizeof victim, victim, NULL));
  WriteFileW(decoy);
  WriteFileBytes(victim, "another program's shortcut");
  EXPECT_EQ(0, Remove([&] {
              HWND chooser = ui::WaitForChooser(kShortcutChooser);
              ASSERT_TRUE(chooser);
              ui::ChooseFile(chooser, decoy);
              ui::MessageBoxSeen box;
              ASSERT_TRUE(ui::WaitForMessageBox("Tomavel", &box));
              EXPECT_EQ(Utf8("選択したファイルの名前に、このプログラムで扱えない文字が含まれているため削除できませんでした。"),
                        Utf8(box.text));
              EXPECT_EQ(kOk, box.buttons);
              EXPECT_EQ("warning", box.icon);
              EXPECT_EQ(owner_, GetWindow(box.window, GW_OWNER));
              ui::SaveScreenshot(box.window, "name-not-exact-message");
              // Had it asked instead, a user who trusts the name says yes.
              ui::Answer(box, box.buttons.front() == IDYES ? IDYES : IDOK);
            }));
  EXPECT_STREQ("", appState.chosenPath);
  EXPECT_TRUE(FileExists(victim)) << "the file two folders up is still there";
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(decoy.c_str())) << "the picked file is still there";
  // By its own name: the one the ANSI functions see is the victim's path.
  DeleteFileW(decoy.c_str());
  DeleteFileA(victim);
}

// 120 Greek letters: a name Linux accepts, a valid Windows path of under 260
// UTF-16 units, and over 259 bytes.
TEST_F(RemoveFlow, AShortcutPathTooLongForTheProgramIsRefusedAndKept) {
  std::string longShortcut = StartupFile(kScopeUser, Repeat("αβγδεζηθικλμνξοπρστυφχψω", 5) + ".lnk");
  WriteFileBytes(longShortcut, "x");
  ASSERT_GT(longShortcut.size(), 259u);
  ASSERT_LT(MultiByteToWideChar(CP_ACP, 0, longShortcut.c_str(), -1, NULL, 0), 260);
  EXPECT_EQ(0, Remove([&] {
              Pick(longShortcut);
              ui::ExpectMessageBox("Tomavel", "選択したファイルのパスが長すぎるため削除できませんでした。", kOk, "warning",
                                   IDOK, nullptr, owner_);
            }));
  EXPECT_STREQ("", appState.chosenPath) << "no cut path is left for a later step";
  EXPECT_TRUE(FileExists(longShortcut));
  EXPECT_TRUE(FileExists(shortcut_));
}

TEST_F(RemoveFlow, AMissingStartupFolderIsReportedWithoutAChooser) {
  std::string away = userStartup_ + ".away";
  ASSERT_TRUE(MoveFileA(userStartup_.c_str(), away.c_str()));
  bool choserSeen = false;
  int result = Remove([&] {
    ui::ExpectMessageBox("Tomavel", "スタートアップフォルダが見つかりませんでした。", kOk, "warning", IDOK);
    for (HWND w : ui::VisibleWindows())
      if (ui::Text(w) == kShortcutChooser) choserSeen = true;
  });
  ASSERT_TRUE(MoveFileA(away.c_str(), userStartup_.c_str()));
  EXPECT_EQ(0, result);
  EXPECT_FALSE(choserSeen);
  EXPECT_TRUE(FileExists(shortcut_));
}

}  // namespace
