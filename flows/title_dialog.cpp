#include "flows/title_dialog.h"

#include "base/own_text.h"
#include "base/text.h"
#include "flows/app_state.h"
#include "res/resource.h"
#include "startup/path_rules.h"

static const char kTitlePrompt[] = "タイトル名を入力してください（必須）";
static const char kArgumentsPrompt[] = "引数があれば入力してください（任意）";
static const char kCancelledWarning[] = "スタートアップへの登録はキャンセルされました";
static const char kTitleFieldTooLong[] = "タイトルが長すぎます。半角で 199 文字、全角で 99 文字までにしてください。";
static const char kArgumentsFieldTooLong[] = "引数が長すぎます。半角で 199 文字、全角で 99 文字までにしてください。";
static const char kTitleNotExact[] = "タイトルに、日本語の文字コード（シフト JIS）で表せない文字が含まれています。";
static const char kForbiddenCharacters[] = "タイトルに次の文字は使えません。\n\\ / : * ? \" < > |";
static const char kDeviceName[] = "タイトルに CON、NUL、COM1 などのデバイス名は使えません。";
static const char kTooLongForFolder[] = "スタートアップフォルダのパスと合わせると長すぎます。タイトルを短くしてください。";
static const char kNotOpened[] = "タイトルの入力画面を開けませんでした。";
static const char kArgumentsNotExact[] = "引数に、日本語の文字コード（シフト JIS）で表せない文字が含まれています。";

INT_PTR RunTitleDialog() {
  // A null module: the template comes from the process's own executable.
  // Wide, so that the fields hold what the user typed: an edit control made
  // by an ANSI call keeps its text in the ANSI code page ("if CreateWindowExA
  // was used the buffer is an array of CHARs": Microsoft, EM_GETHANDLE), and
  // a character the code page lacks would be a look-alike before it is read.
  INT_PTR result = DialogBoxParamW(NULL, MAKEINTRESOURCEW(IDD_TITLE), appState.mainWindow,
                                   TitleDialogProc, 0);
  // A dialog that could not be created (-1; 0 where the owner is not a
  // window or the wide call is not there) must not leave the title of an
  // earlier run behind, or the flow would write a shortcut nobody asked for;
  // and the user, who picked a program, is told why nothing follows.
  if (result != IDC_TITLE_OK) appState.title[0] = '\0';
  if (result == 0 || result == -1) {
    MessageBoxA(appState.mainWindow, kNotOpened, kCaption, MB_OK | MB_ICONWARNING);
  }
  appState.titleDialog = NULL;
  return result;
}

void PaintTitlePrompts(HWND window) {
  PAINTSTRUCT paint;
  OwnTexts texts;
  HDC dc = BeginPaint(window, &paint);
  BeginOwnTexts(window, dc, appState.highContrast, &texts);
  DrawOwnText(texts, 10, 10, kTitlePrompt, RGB(255, 0, 0));
  DrawOwnText(texts, 10, 100, kArgumentsPrompt, RGB(0, 0, 255));
  EndOwnTexts(texts);
  EndPaint(window, &paint);
}

// The field as typed, in the process's code page (932 by the manifest): read
// wide and converted without best fit, so that a character the code page
// lacks (é in Café) is refused, never swapped for a look-alike that names
// another file or folder. text holds more than a field may, to tell one too
// long: a field cut to what wide holds still comes out too long.
static NarrowResult ReadField(HWND window, int id, char* text, int size) {
  WCHAR wide[2 * kFieldSize];
  GetWindowTextW(GetDlgItem(window, id), wide, ARRAYSIZE(wide));
  return NarrowExactly(GetACP(), wide, text, size);
}

// When refused, warns, moves the focus into the field and returns 1; the
// dialog stays open as typed.
static int Refuse(HWND window, int refused, int id, const char* warning) {
  if (!refused) return 0;
  MessageBoxA(window, warning, kCaption, MB_OK | MB_ICONWARNING);
  SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, id)), TRUE);
  return 1;
}

// A screen reader names an edit control from the static text right before it
// among its siblings, a hidden one too; the prompts are only painted, so each
// field would be heard as a bare "edit". Each gets a hidden static holding its
// prompt, placed just before it. Made here, so the template stays as it is.
static void LabelField(HWND window, int id, const char* prompt) {
  WCHAR text[64];
  WidenOwnText(prompt, text, ARRAYSIZE(text));
  HWND field = GetDlgItem(window, id);
  HWND label = CreateWindowExW(0, L"Static", text, WS_CHILD | SS_LEFT, 0, 0, 0, 0, window, NULL,
                               GetModuleHandleA(NULL), NULL);
  if (label != NULL) {
    SetWindowPos(label, GetWindow(field, GW_HWNDPREV), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

static INT_PTR OnInitDialog(HWND window) {
  appState.titleDialog = window;
  appState.titleDialogPainted = 0;
  LabelField(window, IDC_TITLE, kTitlePrompt);
  LabelField(window, IDC_ARGUMENTS, kArgumentsPrompt);
  return 1;
}

static void OnOk(HWND window) {
  // A field over the 199 bytes the application state holds is refused, never
  // cut: a cut title names another file, cut arguments can lose a closing
  // quote. Nothing is read before both fields are exact and fit.
  char title[2 * kFieldSize];
  char arguments[2 * kFieldSize];
  NarrowResult titleRead = ReadField(window, IDC_TITLE, title, sizeof title);
  NarrowResult argumentsRead = ReadField(window, IDC_ARGUMENTS, arguments, sizeof arguments);
  if (Refuse(window, titleRead == kNotExact, IDC_TITLE, kTitleNotExact) ||
      Refuse(window, argumentsRead == kNotExact, IDC_ARGUMENTS, kArgumentsNotExact) ||
      Refuse(window, titleRead != kNarrowedExactly || lstrlenA(title) >= kFieldSize, IDC_TITLE, kTitleFieldTooLong) ||
      Refuse(window, argumentsRead != kNarrowedExactly || lstrlenA(arguments) >= kFieldSize, IDC_ARGUMENTS,
             kArgumentsFieldTooLong)) {
    return;
  }
  // The shortcut must land in the Startup folder itself, as a file: no
  // character that leaves it, names a stream or fails the save, no device,
  // and a whole path (a cut one names another file).
  char shortcutPath[kPathSize];
  CopyText(shortcutPath, sizeof shortcutPath, appState.startupFolder);
  if (Refuse(window, TitleHasForbiddenCharacter(title), IDC_TITLE, kForbiddenCharacters) ||
      Refuse(window, TitleNamesDevice(title), IDC_TITLE, kDeviceName) ||
      Refuse(window, !ComposeShortcutPath(shortcutPath, sizeof shortcutPath, title), IDC_TITLE, kTooLongForFolder)) {
    return;
  }
  CopyText(appState.title, kFieldSize, title);
  CopyText(appState.arguments, kFieldSize, arguments);
  if (appState.title[0] == '\0') MessageBoxA(window, kCancelledWarning, kCaption, MB_OK | MB_ICONWARNING);
  EndDialog(window, IDC_TITLE_OK);
}

INT_PTR CALLBACK TitleDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(window);
    case WM_PAINT:
      PaintTitlePrompts(window);
      // Only the first paint moves the focus; otherwise it would rest on OK.
      if (!appState.titleDialogPainted) SetFocus(GetDlgItem(window, IDC_TITLE));
      appState.titleDialogPainted = 1;
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      FollowContrastTheme(window, message, wParam, &appState.highContrast);
      return 0;
    case WM_DPICHANGED:
      // The dialog manager lays the controls out again; the prompts are
      // the program's own to move, and the old ones must go.
      InvalidateRect(window, NULL, TRUE);
      return 0;
    case WM_CLOSE:
      MessageBoxA(window, kCancelledWarning, kCaption, MB_OK | MB_ICONWARNING);
      EndDialog(window, IDC_TITLE_CANCEL);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_TITLE_OK:
          OnOk(window);
          return 0;
        case IDC_TITLE_CANCEL:
          EndDialog(window, IDC_TITLE_CANCEL);
          return 0;
        default:  // Escape's IDCANCEL included: the dialog stays open
          return 0;
      }
    default:
      return 0;
  }
}
