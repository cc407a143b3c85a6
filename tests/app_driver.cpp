#include "tests/app_driver.h"

#include <shlobj.h>

#include "app/main_window.h"
#include "base/system_dlls.h"
#include "res/resource.h"
#include "tests/test_support.h"
#include "tests/ui_driver.h"

using namespace testing_support;

namespace app_driver {

const char kProgramChooser[] = "スタートアップに登録するプログラムを選択して、【開く】ボタンを押してください";
const char kShortcutChooser[] = "スタートアップから削除するプログラムを選択して、【開く】ボタンを押してください";
const char kRegistered[] = "スタートアップへショートカットを登録しました";
const char kCancelled[] = "スタートアップへの登録はキャンセルされました";

INT_PTR RunMainWindow() {
  return DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_MAIN), NULL, MainDialogProc, 0);
}

INT_PTR DriveMainWindow(const std::function<void(HWND)>& steps, MainWindowEnd end, std::string* openedIn) {
  INT_PTR result = 12345;
  ui::RunDriven([&] { result = RunMainWindow(); },
                [&] {
                  HWND main = CancelOpeningChooser(openedIn);
                  ASSERT_TRUE(main);
                  steps(main);
                  if (end == kStepsEndIt) return;
                  ASSERT_TRUE(WaitForIdleMainWindow(true));
                  ui::Click(main, IDC_EXIT);
                });
  return result;
}

HWND FindMainWindow() {
  for (HWND w : ui::VisibleWindows())
    if (GetDlgItem(w, IDC_EXIT) && GetDlgItem(w, IDC_SCOPE_ALL)) return w;
  return NULL;
}

HWND WaitForIdleMainWindow(bool repaint) {
  HWND main = NULL;
  bool enabled = ui::WaitUntil([&] {
    main = FindMainWindow();
    return main && IsWindowEnabled(main);
  });
  EXPECT_TRUE(enabled) << "the main window did not become enabled again";
  if (!enabled) return NULL;
  if (repaint) InvalidateRect(main, NULL, TRUE);
  // Nothing left to paint: a late paint would move the focus under the test.
  bool focused = ui::WaitUntil([&] {
    return !GetUpdateRect(main, NULL, FALSE) && ui::FocusOf(main) == GetDlgItem(main, IDC_EXIT);
  });
  EXPECT_TRUE(focused) << "the focus is not on the exit button after a paint";
  return focused ? main : NULL;
}

HWND CancelOpeningChooser(std::string* folder) {
  HWND chooser = ui::WaitForChooser(kProgramChooser);
  if (!chooser) return NULL;
  HWND main = FindMainWindow();
  EXPECT_TRUE(main && IsWindowVisible(main)) << "the main window is visible behind the chooser";
  EXPECT_FALSE(main && IsWindowEnabled(main)) << "the chooser is modal over the main window";
  if (folder) *folder = ui::ChooserFolder(chooser);
  ui::CancelChooser(chooser);
  EXPECT_TRUE(ui::WaitForClosed(chooser));
  return WaitForIdleMainWindow();
}

HWND WaitForTitleDialog() {
  HWND dialog = ui::WaitForDialog("Tomavel", IDC_TITLE);
  if (!dialog) return NULL;
  bool ready = ui::WaitUntil([&] {
    return !GetUpdateRect(dialog, NULL, FALSE) && ui::FocusOf(dialog) == GetDlgItem(dialog, IDC_TITLE);
  });
  EXPECT_TRUE(ready) << "the focus is not in the title field after the first paint";
  return dialog;
}

int CountPixels(HWND window, int left, int top, int right, int bottom, COLORREF colour) {
  HDC dc = GetDC(window);
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (GetPixel(dc, x, y) == colour) ++count;
  ReleaseDC(window, dc);
  return count;
}

void FlowTest::SetUp() {
  ResetAppState();
  ASSERT_EQ(1, BindSystemDlls(NULL, 0));
  GetCurrentDirectoryA(sizeof savedDirectory_, savedDirectory_);
  owner_ = CreateWindowExA(0, "Static", "owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, 150, 120, 640, 360, NULL, NULL,
                           GetModuleHandleA(NULL), NULL);
  ASSERT_TRUE(owner_);
  appState.mainWindow = owner_;
  appState.scope = kScopeUser;
  programs_ = FreshFolder("programs");
  program_ = programs_ + "\\app.exe";
  WriteFileBytes(program_, "MZ");
  // A current directory of its own, so that no chooser finds files by luck.
  SetCurrentDirectoryA(FreshFolder("neutral").c_str());
  // A run that died while a Startup folder was moved away left it so.
  for (int csidl : {kScopeUser, kScopeAllUsers}) {
    char path[MAX_PATH];
    if (SHGetFolderPathA(NULL, csidl | CSIDL_FLAG_DONT_VERIFY, NULL, SHGFP_TYPE_CURRENT, path) == S_OK &&
        !FileExists(path))
      MoveFileA((std::string(path) + ".away").c_str(), path);
  }
  userStartup_ = StartupFolderOf(kScopeUser);
  allStartup_ = StartupFolderOf(kScopeAllUsers);
  userBefore_ = FileNames(userStartup_);
  allBefore_ = FileNames(allStartup_);
}

std::set<std::string> FlowTest::NewFiles(StartupScope scope) const {
  std::set<std::string> now = FileNames(scope == kScopeUser ? userStartup_ : allStartup_);
  const std::set<std::string>& before = scope == kScopeUser ? userBefore_ : allBefore_;
  std::set<std::string> added;
  for (const std::string& name : now)
    if (!before.count(name)) added.insert(name);
  return added;
}

std::string FlowTest::StartupFile(StartupScope scope, const std::string& name) const {
  return (scope == kScopeUser ? userStartup_ : allStartup_) + "\\" + name;
}

void FlowTest::TearDown() {
  for (StartupScope scope : {kScopeUser, kScopeAllUsers}) {
    for (const std::string& name : NewFiles(scope)) {
      std::string path = StartupFile(scope, name);
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
  }
  if (owner_) DestroyWindow(owner_);
  SetCurrentDirectoryA(savedDirectory_);
}

}  // namespace app_driver
