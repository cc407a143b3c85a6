// The title and arguments dialog: its texts, prompts, focus rule, warnings
// and what it leaves in the application state for each way it can end.
#include <gtest/gtest.h>

#include "flows/app_state.h"
#include "flows/title_dialog.h"
#include "res/resource.h"
#include "tests/app_driver.h"
#include "tests/test_support.h"
#include "tests/ui_driver.h"

using namespace app_driver;
using namespace testing_support;

namespace {

const char kTitlePrompt[] = "タイトル名を入力してください（必須）";
const char kArgumentsPrompt[] = "引数があれば入力してください（任意）";

class TitleDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAppState();
    // A stand-in for the main window: the dialog's owner.
    owner_ = CreateWindowExA(0, "Static", "owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, 150, 120, 640, 360, NULL, NULL,
                             GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(owner_);
    appState.mainWindow = owner_;
    lstrcpyA(appState.title, "old title");
    lstrcpyA(appState.arguments, "old arguments");
  }
  void TearDown() override { DestroyWindow(owner_); }

  // Runs the dialog with driver; returns its result.
  INT_PTR Run(const std::function<void(HWND)>& driver) {
    INT_PTR result = 12345;
    ui::RunDriven([&] { result = RunTitleDialog(); },
                  [&] {
                    // Idle: painted once, focus in the title field.
                    HWND dialog = WaitForTitleDialog();
                    ASSERT_TRUE(dialog);
                    ASSERT_EQ(GetDlgItem(dialog, IDC_TITLE), ui::FocusOf(dialog));
                    EXPECT_EQ(dialog, appState.titleDialog);
                    driver(dialog);
                  });
    EXPECT_EQ(NULL, appState.titleDialog) << "cleared when the dialog ends";
    return result;
  }
  HWND owner_ = NULL;
};

TEST_F(TitleDialog, OpensOverTheOwnerWithEmptyFieldsPromptsAndFocusOnTheTitle) {
  INT_PTR result = Run([&](HWND dialog) {
    EXPECT_EQ("OK", ui::ControlText(dialog, IDC_TITLE_OK));
    EXPECT_EQ(Utf8("ｷｬﾝｾﾙ"), Utf8(ui::ControlText(dialog, IDC_TITLE_CANCEL)));
    EXPECT_EQ("", ui::ControlText(dialog, IDC_TITLE)) << "earlier values are not shown again";
    EXPECT_EQ("", ui::ControlText(dialog, IDC_ARGUMENTS));
    EXPECT_EQ(owner_, GetWindow(dialog, GW_OWNER));

    // Nothing moves it: template position 0, 0 puts its client area on the
    // upper-left corner of the owner's client area.
    POINT ownerOrigin = {0, 0}, dialogOrigin = {0, 0};
    ClientToScreen(owner_, &ownerOrigin);
    ClientToScreen(dialog, &dialogOrigin);
    EXPECT_EQ(ownerOrigin.x, dialogOrigin.x);
    EXPECT_EQ(ownerOrigin.y, dialogOrigin.y);

    // The red prompt at (10, 10), the blue one at (10, 100).
    EXPECT_GT(CountPixels(dialog, 10, 10, 200, 26, RGB(255, 0, 0)), 50) << "red title prompt";
    EXPECT_GT(CountPixels(dialog, 10, 100, 200, 116, RGB(0, 0, 255)), 50) << "blue arguments prompt";
    EXPECT_EQ(0, CountPixels(dialog, 10, 10, 200, 26, RGB(0, 0, 255)));
    ui::SaveScreenshot(dialog, "title-dialog");

    // A screen reader names each field by its prompt, from a hidden static
    // just before it; a sighted user still meets exactly four controls.
    for (const auto& field : {std::make_pair(IDC_TITLE, kTitlePrompt), std::make_pair(IDC_ARGUMENTS, kArgumentsPrompt)}) {
      HWND edit = GetDlgItem(dialog, field.first);
      EXPECT_EQ(Utf8(field.second), Utf8(ui::AccessibleName(edit))) << "field " << field.first;
      HWND label = GetWindow(edit, GW_HWNDPREV);
      char kind[16] = "";
      GetClassNameA(label, kind, sizeof kind);
      EXPECT_EQ(0, lstrcmpiA("Static", kind)) << kind;
      EXPECT_FALSE(IsWindowVisible(label));
      EXPECT_EQ(Utf8(field.second), Utf8(ui::Text(label)));
    }
    int shown = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      shown += IsWindowVisible(child) ? 1 : 0;
    EXPECT_EQ(4, shown) << "visible controls";

    ui::Type(dialog, IDC_TITLE, "メール");
    ui::Type(dialog, IDC_ARGUMENTS, "-q \"x y\"");
    ui::PressKey(dialog, VK_RETURN);  // Enter in the title field presses OK
  });
  EXPECT_EQ(IDC_TITLE_OK, result);
  EXPECT_EQ(Utf8("メール"), Utf8(appState.title));
  EXPECT_EQ("-q \"x y\"", std::string(appState.arguments));
}

TEST_F(TitleDialog, EnterInTheArgumentsFieldPressesOkAndARepaintLeavesTheFocusAlone) {
  INT_PTR result = Run([&](HWND dialog) {
    ui::Type(dialog, IDC_TITLE, "t");
    ui::PressKey(dialog, VK_TAB);
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::FocusOf(dialog) == GetDlgItem(dialog, IDC_ARGUMENTS); }));
    InvalidateRect(dialog, NULL, TRUE);
    ASSERT_TRUE(ui::WaitUntil([&] { return !GetUpdateRect(dialog, NULL, FALSE); }));
    // A round trip: the paint that validated the dialog has ended.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_BLOCK, ui::Scaled(ui::kWaitMs), &answer));
    EXPECT_EQ(GetDlgItem(dialog, IDC_ARGUMENTS), ui::FocusOf(dialog)) << "only the first paint moves the focus";
    ui::Type(dialog, IDC_ARGUMENTS, "a");
    ui::PressKey(dialog, VK_RETURN);
  });
  EXPECT_EQ(IDC_TITLE_OK, result);
  EXPECT_STREQ("t", appState.title);
  EXPECT_STREQ("a", appState.arguments);
}

// Each way the dialog ends, and what it leaves for the registration: Escape
// does nothing (Enter after it still presses OK), Cancel is silent, and the
// close box and OK without a title warn; a title is emptied, the arguments
// of the last OK kept.
TEST_F(TitleDialog, EachWayOfEndingLeavesTheTitleAndArgumentsTheFlowReads) {
  const struct {
    const char* title;
    const char* arguments;
    std::function<void(HWND)> end;
    INT_PTR result;
    const char* titleAfter;
    const char* argumentsAfter;
  } kEndings[] = {
      {"kept", "", [](HWND dialog) {
         ui::PressKey(dialog, VK_ESCAPE);
         ui::PressKey(dialog, VK_RETURN);  // had Escape ended it, OK could not
       }, IDC_TITLE_OK, "kept", ""},
      {"new", "new arguments", [](HWND dialog) { ui::Click(dialog, IDC_TITLE_CANCEL); EXPECT_TRUE(ui::WaitForClosed(dialog)); },
       IDC_TITLE_CANCEL, "", "old arguments"},
      {"new", "", [](HWND dialog) { ui::CloseBox(dialog); ui::ExpectMessageBox("Tomavel", kCancelled, {IDOK}, "warning", IDOK); },
       IDC_TITLE_CANCEL, "", "old arguments"},
      {"", "only arguments", [](HWND dialog) { ui::Click(dialog, IDC_TITLE_OK); ui::ExpectMessageBox("Tomavel", kCancelled, {IDOK}, "warning", IDOK); },
       IDC_TITLE_OK, "", "only arguments"}};
  for (const auto& ending : kEndings) {
    SCOPED_TRACE(std::string("typed [") + ending.title + "] [" + ending.arguments + "]");
    lstrcpyA(appState.title, "old title");
    lstrcpyA(appState.arguments, "old arguments");
    INT_PTR result = Run([&](HWND dialog) {
      ui::Type(dialog, IDC_TITLE, ending.title);
      ui::Type(dialog, IDC_ARGUMENTS, ending.arguments);
      ending.end(dialog);
    });
    EXPECT_EQ(ending.result, result);
    EXPECT_STREQ(ending.titleAfter, appState.title);
    EXPECT_STREQ(ending.argumentsAfter, appState.arguments);
  }
}

// Every refusal keeps the dialog open as typed, with the focus in the field
// at fault, and reads nothing: the field checks first (a character Shift JIS
// lacks, before any length: read as a look-alike, Café would name Cafe.lnk
// and José's folder Jose's; a field over 199 bytes, never cut: a cut title
// names another file, cut arguments lose a closing quote), the title first;
// then what the Startup folder cannot take: one of the nine characters, a
// device name, a path too long with this scope's folder.
TEST_F(TitleDialog, ARefusedTitleOrArgumentsKeepTheDialogOpenAsTyped) {
  const std::string kNotExact = "に、日本語の文字コード（シフト JIS）で表せない文字が含まれています。";
  const std::wstring kJose = L"C:\\Users\\Jos\u00E9\\a.txt";
  const std::wstring kLongArguments(250, L'a');
  const std::wstring kLongTitle = Wide(Repeat("表", 100));  // 200 bytes
  const struct {
    std::wstring title, arguments;
    std::string warning;
    int field;
    const char* screenshot;
  } kRefusals[] = {
      {L"Caf\u00E9", kJose, "タイトル" + kNotExact, IDC_TITLE, "title-not-exact-message"},
      {L"t", kJose, "引数" + kNotExact, IDC_ARGUMENTS, nullptr},
      {L"t", kLongArguments, "引数が長すぎます。半角で 199 文字、全角で 99 文字までにしてください。", IDC_ARGUMENTS, nullptr},
      {kLongTitle, kLongArguments, "タイトルが長すぎます。半角で 199 文字、全角で 99 文字までにしてください。", IDC_TITLE,
       "title-too-long-message"},
      {L"a?b", L"", "タイトルに次の文字は使えません。\n\\ / : * ? \" < > |", IDC_TITLE, "title-forbidden-message"},
      {Wide("表\\..\\x"), L"-a", "タイトルに次の文字は使えません。\n\\ / : * ? \" < > |", IDC_TITLE, nullptr},
      {L"Com1", L"", "タイトルに CON、NUL、COM1 などのデバイス名は使えません。", IDC_TITLE, nullptr},
      {std::wstring(11, L't'), L"",
       "スタートアップフォルダのパスと合わせると長すぎます。タイトルを短くしてください。", IDC_TITLE, "title-too-long-for-folder-message"}};
  // 244 bytes of folder, a backslash, the title and .lnk: 10 characters fit.
  lstrcpyA(appState.startupFolder, ("C:\\" + std::string(241, 'f')).c_str());
  std::string fits = std::string(197, 'c') + "表";  // 199 bytes, a double-byte character last
  INT_PTR result = Run([&](HWND dialog) {
    for (const auto& refusal : kRefusals) {
      SCOPED_TRACE(refusal.warning);
      ui::Type(dialog, IDC_TITLE, refusal.title);
      ui::Type(dialog, IDC_ARGUMENTS, refusal.arguments);
      ui::PressKey(dialog, VK_RETURN);
      ui::ExpectMessageBox("Tomavel", refusal.warning, {IDOK}, "warning", IDOK, refusal.screenshot, dialog);
      EXPECT_TRUE(ui::WaitUntil([&] { return ui::FocusOf(dialog) == GetDlgItem(dialog, refusal.field); }));
      WCHAR typed[512] = L"<sentinel>";
      GetWindowTextW(GetDlgItem(dialog, IDC_TITLE), typed, ARRAYSIZE(typed));
      EXPECT_EQ(refusal.title, std::wstring(typed)) << "the title as typed";
      GetWindowTextW(GetDlgItem(dialog, IDC_ARGUMENTS), typed, ARRAYSIZE(typed));
      EXPECT_EQ(refusal.arguments, std::wstring(typed)) << "the arguments as typed";
      EXPECT_STREQ("old title", appState.title) << "nothing is read before every check passes";
    }
    ui::Type(dialog, IDC_TITLE, std::string(10, 't'));
    ui::Type(dialog, IDC_ARGUMENTS, fits);
    ui::Click(dialog, IDC_TITLE_OK);
  });
  EXPECT_EQ(IDC_TITLE_OK, result);
  EXPECT_EQ(std::string(10, 't'), std::string(appState.title));
  EXPECT_EQ(Utf8(fits), Utf8(appState.arguments)) << "199 bytes, whole";
}

// Vetoes the creation of the first dialog window on this thread: the title
// dialog, not the message box after it.
int refusedDialogs = 0;
LRESULT CALLBACK RefuseADialog(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && refusedDialogs == 0) {
    CBT_CREATEWNDA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
    if (create->lpcs->lpszClass == WC_DIALOG ||
        (HIWORD(create->lpcs->lpszClass) && lstrcmpA(create->lpcs->lpszClass, "#32770") == 0)) {
      ++refusedDialogs;
      return 1;
    }
  }
  return CallNextHookEx(NULL, code, wParam, lParam);
}

// The user picked a program: a dialog that cannot open says so, and leaves
// no title of an earlier run to register.
TEST_F(TitleDialog, ADialogThatCannotBeCreatedSaysSoAndLeavesNoStaleTitle) {
  INT_PTR result = 12345;
  refusedDialogs = 0;
  ui::RunDriven(
      [&] {
        HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseADialog, NULL, GetCurrentThreadId());
        ASSERT_TRUE(hook);
        result = RunTitleDialog();
        UnhookWindowsHookEx(hook);
      },
      [&] { ui::ExpectMessageBox("Tomavel", "タイトルの入力画面を開けませんでした。", {IDOK}, "warning", IDOK, nullptr, owner_); });
  EXPECT_EQ(1, refusedDialogs);
  EXPECT_EQ(-1, result);
  EXPECT_STREQ("", appState.title) << "a stale title would register a shortcut nobody asked for";
  EXPECT_STREQ("old arguments", appState.arguments);
  EXPECT_EQ(NULL, appState.titleDialog);
}

// What the dialog paints itself follows the display: in a contrast theme
// the prompts take its button text colour, and a change of scale (which
// moves them with the dialog's units) has the whole dialog painted again.
// Run on this thread, so that nothing paints in between.
TEST_F(TitleDialog, ItsPromptsFollowAContrastThemeAndAChangeOfScale) {
  HWND dialog = CreateDialogParamW(NULL, MAKEINTRESOURCEW(IDD_TITLE), owner_, TitleDialogProc, 0);
  ASSERT_TRUE(dialog);
  ShowWindow(dialog, SW_SHOW);
  UpdateWindow(dialog);
  const COLORREF kThemeText = GetSysColor(COLOR_BTNTEXT);
  EXPECT_EQ(0, CountPixels(dialog, 10, 10, 200, 26, kThemeText));
  appState.highContrast = 1;
  InvalidateRect(dialog, NULL, TRUE);
  UpdateWindow(dialog);
  EXPECT_GT(CountPixels(dialog, 10, 10, 200, 26, kThemeText), 50) << "title prompt";
  EXPECT_GT(CountPixels(dialog, 10, 100, 200, 116, kThemeText), 50) << "arguments prompt";
  EXPECT_EQ(0, CountPixels(dialog, 10, 10, 200, 26, RGB(255, 0, 0)));
  EXPECT_EQ(0, CountPixels(dialog, 10, 100, 200, 116, RGB(0, 0, 255)));

  RECT client, update = {-1, -1, -1, -1}, placed;
  GetClientRect(dialog, &client);
  GetWindowRect(dialog, &placed);
  ASSERT_FALSE(GetUpdateRect(dialog, NULL, FALSE));
  SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&placed));
  ASSERT_TRUE(GetUpdateRect(dialog, &update, FALSE));
  EXPECT_TRUE(EqualRect(&client, &update)) << update.left << "," << update.top << " " << update.right << "x"
                                           << update.bottom;
  DestroyWindow(dialog);
  appState.highContrast = 0;
  appState.titleDialog = NULL;
}

}  // namespace
