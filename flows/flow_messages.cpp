#include "flows/flow_messages.h"

#include "base/growing_text.h"
#include "base/system_dlls.h"
#include "base/text.h"
#include "startup/startup_folder.h"

static const char kNoStartupFolder[] = "スタートアップフォルダが見つかりませんでした。";
static const char kStartupFolderNotExact[] =
    "スタートアップフォルダのパスに、このプログラムで扱えない文字が含まれているため、処理を続けられませんでした。";
const char kTitleTooLong[] = "タイトルが長すぎるため登録できませんでした。";
const char kProgramPathTooLong[] = "選択したファイルのパスが長すぎるため登録できませんでした。";
const char kShortcutPathTooLong[] = "選択したファイルのパスが長すぎるため削除できませんでした。";
const char kProgramNameNotExact[] =
    "選択したファイルの名前に、このプログラムで扱えない文字が含まれているため登録できませんでした。";
const char kShortcutNameNotExact[] =
    "選択したファイルの名前に、このプログラムで扱えない文字が含まれているため削除できませんでした。";
const char kNotChosen[] = "ファイルを選択できませんでした。";
static const char kSystemDllMissing[] = "Windows のシステム ファイルを読み込めなかったため、処理を続けられませんでした。";
static const char kNotWritten[] = "ショートカットを登録できませんでした。";
static const char kRunAsAdmin[] =
    "すべてのユーザーのスタートアップフォルダを変更するには、Tomavel をいったん終了し、右クリックして"
    "［管理者として実行］を選んで起動し直してください。";
static const char kNotDeleted[] = " を削除できませんでした。";
static const char kShortcutNotRead[] = "選択したショートカットを読み込めなかったため登録できませんでした。";

void ShowWarning(HWND owner, const char* text) {
  MessageBoxA(owner, text, kCaption, MB_OK | MB_ICONWARNING);
}

int StartupFolderReady(HWND owner, char* path, StartupScope scope) {
  StartupFolderResult found = GetStartupFolderPath(owner, path, scope);
  if (found == kFolderFound) return 1;
  ShowWarning(owner, found == kFolderNotExact ? kStartupFolderNotExact : kNoStartupFolder);
  return 0;
}

int SystemDllsReady(HWND owner) {
  char missing[128];
  if (BindSystemDlls(missing, sizeof missing)) return 1;
  char text[512];
  CopyText(text, sizeof text, kSystemDllMissing);
  AppendText(text, sizeof text, "\n\n（");
  AppendText(text, sizeof text, missing);
  AppendText(text, sizeof text, "）");
  ShowWarning(owner, text);
  return 0;
}

void SystemErrorText(DWORD code, char* out, size_t size) {
  char system[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                                code, 0, system, sizeof system, NULL);
  while (length > 0 && (system[length - 1] == '\r' || system[length - 1] == '\n' || system[length - 1] == ' ')) {
    --length;
  }
  if (length == 0) {
    wsprintfA(system, "0x%08lX", static_cast<unsigned long>(code));  // at most 10 bytes
  } else {
    system[length] = '\0';
  }
  CopyText(out, size, system);
}

// What failed, a blank line, the system's words for code, and where access
// to the all-users folder was denied, what to do about it.
static void ShowFailure(HWND owner, const char* stem, const char* what, DWORD code, int deniedForAllUsers) {
  char reason[512];
  SystemErrorText(code, reason, sizeof reason);
  GrowingText text = NewText();
  AddText(&text, stem);
  AddText(&text, what);
  AddText(&text, "\n\n");
  AddText(&text, reason);
  if (deniedForAllUsers) {
    AddText(&text, "\n\n");
    AddText(&text, kRunAsAdmin);
  }
  ShowWarning(owner, TextOr(text, what));
  FreeText(&text);
}

void ShowShortcutNotWritten(HWND owner, HRESULT result, int allUsers) {
  // For a failure that came from Win32, the system's words are those of the
  // Win32 code; FormatMessage knows most of those under the HRESULT as well.
  ShowFailure(owner, "", kNotWritten, static_cast<DWORD>(result), result == E_ACCESSDENIED && allUsers);
}

void ShowShortcutNotRead(HWND owner, HRESULT result) {
  ShowFailure(owner, "", kShortcutNotRead, static_cast<DWORD>(result), 0);
}

void ShowDeletionFailed(HWND owner, const char* stem, DWORD error, int allUsers) {
  ShowFailure(owner, stem, kNotDeleted, error, error == ERROR_ACCESS_DENIED && allUsers);
}
