#include "flows/title_dialog.h"

#include "base/own_text.h"
#include "flows/app_state.h"
#include "res/resource.h"

static const char kTitlePrompt[] = "タイトル名を入力してください（必須）";
static const char kArgumentsPrompt[] = "引数があれば入力してください（任意）";
static const char kCancelledWarning[] = "スタートアップへの登録はキャンセルされました";
static const char kTitleFieldTooLong[] = "タイトルが長すぎます。半角で 199 文字、全角で 99 文字までにしてください。";
static const char kArgumentsFieldTooLong[] = "引数が長すぎます。半角で 199 文字、全角で 99 文字までにしてください。";

INT_PTR RunTitleDialog() {
  // A null module: the template comes from the process's own executable.
  INT_PTR result = DialogBoxParamA(NULL, MAKEINTRESOURCEA(IDD_TITLE), appState.mainWindow,
                                   TitleDialogProc, 0);
  // A dialog that could not be created (-1) must not leave the title of an
  // earlier run behind, or the flow would write a shortcut nobody asked for.
  if (result == IDC_TITLE_CANCEL || result == -1) appState.title[0] = '\0';
  appState.titleDialog = NULL;
  return result;
}

void PaintTitlePrompts(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  SetTextColor(dc, 0x0000FF);
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  DrawOwnText(window, dc, 10, 10, kTitlePrompt);
  SetTextColor(dc, 0xFF0000);
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  DrawOwnText(window, dc, 10, 100, kArgumentsPrompt);
  EndPaint(window, &paint);
}

// A field over the 199 bytes the application state holds is refused, never
// cut: a cut title names another file, cut arguments can lose a closing
// quote. The length is the one GetWindowTextA gives, read with room to spare:
// GetWindowTextLength may count more than that for double-byte text. Returns
// 1 after a warning, with the focus moved into the field.
static int RefuseTooLong(HWND window, int id, const char* warning) {
  char text[2 * kFieldSize];
  HWND field = GetDlgItem(window, id);
  if (GetWindowTextA(field, text, sizeof text) < kFieldSize) return 0;
  MessageBoxA(window, warning, kCaption, MB_OK | MB_ICONWARNING);
  SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
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
  // Nothing is read before both fields fit; the dialog stays open as typed.
  if (RefuseTooLong(window, IDC_TITLE, kTitleFieldTooLong)) return;
  if (RefuseTooLong(window, IDC_ARGUMENTS, kArgumentsFieldTooLong)) return;
  GetWindowTextA(GetDlgItem(appState.titleDialog, IDC_TITLE), appState.title, kFieldSize);
  GetWindowTextA(GetDlgItem(appState.titleDialog, IDC_ARGUMENTS), appState.arguments, kFieldSize);
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
