#include "app/main_window.h"

#include "base/own_text.h"
#include "base/platform_version.h"
#include "base/text.h"
#include "flows/app_state.h"
#include "flows/register_flow.h"
#include "flows/remove_flow.h"
#include "res/resource.h"

static const char kBanner[] = "ショートカットを作成して、スタートアップに登録します";
static const char kVersionLabel[] = "Ver.1.01";
static const COLORREF kBlue = RGB(0, 0, 255);

int CentreOnDesktop(HWND window) {
  RECT desktop, own;
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetWindowRect(window, &own);
  int width = own.right - own.left;
  int height = own.bottom - own.top;
  // The desktop's right and bottom edges, not its size, and C++ division
  // truncating toward zero: the placement the window has always had.
  int x = (desktop.right - width) / 2;
  int y = (desktop.bottom - height) / 2;
  SetWindowPos(window, HWND_TOP, x, y, width, height, SWP_SHOWWINDOW);
  return 0;
}

static void SelectScope(HWND window, StartupScope scope) {
  appState.scope = scope;
  SendMessageA(GetDlgItem(window, IDC_SCOPE_USER), BM_SETCHECK, scope == kScopeUser ? 1 : 0, 0);
  SendMessageA(GetDlgItem(window, IDC_SCOPE_ALL), BM_SETCHECK, scope == kScopeAllUsers ? 1 : 0, 0);
}

// A flow runs to its end before the main window acts on anything else.
static void RunFlow(HWND window, int (*flow)(HWND)) {
  appState.flowRunning = 1;
  flow(window);
  appState.flowRunning = 0;
}

struct OwnedSearch {
  HWND owner;
  HWND found;
};

static BOOL CALLBACK FindOwned(HWND window, LPARAM search) {
  OwnedSearch* owned = reinterpret_cast<OwnedSearch*>(search);
  if (GetWindow(window, GW_OWNER) != owned->owner || !IsWindowVisible(window)) return TRUE;
  owned->found = window;
  return FALSE;
}

// The window the user is to answer while a flow runs: the title dialog while
// it is open, else the window the main window owns (the chooser or a message
// box), and on down the owned windows to one that is enabled. By ownership,
// not by which was active last: that is the main window itself once it has
// been activated, as a click on its taskbar button does while it is disabled.
static HWND FlowFrontWindow(HWND window) {
  HWND front = appState.titleDialog ? appState.titleDialog : window;
  for (int depth = 0; front != NULL && !IsWindowEnabled(front) && depth < 4; ++depth) {
    OwnedSearch search = {front, NULL};
    EnumThreadWindows(GetCurrentThreadId(), FindOwned, reinterpret_cast<LPARAM>(&search));
    front = search.found;
  }
  return front;
}

// The main window is disabled while a flow runs, yet a command sent from
// outside (another program, UI automation) still arrives. Acted on, it would
// run a flow inside the flow, move the scope under it, or end the window
// from under it; so it only brings the flow's front window forward. A radio
// button clicked that way has already moved its own check: put it back.
static INT_PTR HoldOff(HWND window) {
  SelectScope(window, appState.scope);
  HWND front = FlowFrontWindow(window);
  if (front != NULL && front != window) SetForegroundWindow(front);
  return 0;
}

static INT_PTR OnInitDialog(HWND window) {
  appState.mainWindow = window;
  appState.highContrast = static_cast<BYTE>(ContrastThemeOn());
  appState.scope = kScopeUser;
  SendMessageA(GetDlgItem(window, IDC_SCOPE_USER), BM_SETCHECK, 1, 0);
  if (RunningOnWindows9x()) {
    EnableWindow(GetDlgItem(window, IDC_SCOPE_USER), FALSE);
    EnableWindow(GetDlgItem(window, IDC_SCOPE_ALL), FALSE);
  }
  CentreOnDesktop(window);
  // The user who starts the program is taken straight to the program chooser.
  RunFlow(window, RegisterProgram);
  return 1;  // the platform focuses the first tab stop, the exit button
}

static void OnPaint(HWND window) {
  PAINTSTRUCT paint;
  OwnTexts texts;
  HDC dc = BeginPaint(window, &paint);
  BeginOwnTexts(window, dc, appState.highContrast, &texts);
  DrawOwnText(texts, 20, 20, kBanner, kBlue);
  DrawOwnText(texts, 430, 165, kVersionLabel, kBlue);
  EndOwnTexts(texts);
  EndPaint(window, &paint);
  // After every paint, so that Enter always means "exit".
  SetFocus(GetDlgItem(window, IDC_EXIT));
}

static INT_PTR OnClose(HWND window) {
  if (MessageBoxA(window, "終了しますか", "終了確認", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return 0;
  EndDialog(window, IDC_EXIT);
  return 1;
}

static INT_PTR OnCommand(HWND window, int id) {
  switch (id) {
    case IDC_EXIT:
      EndDialog(window, IDC_EXIT);
      return 1;
    case IDC_REGISTER:
      RunFlow(window, RegisterProgram);
      return 0;
    case IDC_REMOVE:
      RunFlow(window, RemoveShortcut);
      return 0;
    case IDC_SCOPE_USER:
      SelectScope(window, kScopeUser);
      return 0;
    case IDC_SCOPE_ALL:
      SelectScope(window, kScopeAllUsers);
      return 0;
    default:  // Escape's IDCANCEL included: the window stays
      return 0;
  }
}

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(window);
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      FollowContrastTheme(window, message, wParam, &appState.highContrast);
      return 0;
    case WM_DPICHANGED:
      // The dialog manager lays the controls out again; the banner and the
      // version are the program's own to move, and the old ones must go.
      InvalidateRect(window, NULL, TRUE);
      return 0;
    case WM_CLOSE:
      return appState.flowRunning ? HoldOff(window) : OnClose(window);
    case WM_COMMAND:
      return appState.flowRunning ? HoldOff(window) : OnCommand(window, LOWORD(wParam));
    default:
      return 0;
  }
}

// The program chooser first opens where the user started the program. Read
// wide and converted exactly: the ANSI call gives a look-alike for a folder
// the code page cannot hold (José as Jose), another folder. Such a folder, or
// one too long, leaves the chooser in its default folder, as the 9x family's
// failing wide call does (there the default is the current directory).
static void RecordStartFolder() {
  WCHAR start[MAX_PATH];
  DWORD length = GetCurrentDirectoryW(MAX_PATH, start);
  if (length == 0 || length >= MAX_PATH ||
      NarrowExactly(GetACP(), start, appState.initialFolder, sizeof appState.initialFolder) != kNarrowedExactly) {
    appState.initialFolder[0] = '\0';
  }
}

int RunTomavel(HINSTANCE instance) {
  RecordStartFolder();
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), NULL, MainDialogProc, 0);
  return 0;
}
