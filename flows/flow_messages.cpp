#include "flows/flow_messages.h"

#include "app/text.h"

const char kFolderNotFound[] = "スタートアップフォルダが見つかりませんでした。";
const char kTitleTooLong[] = "タイトルが長すぎるため登録できませんでした。";
const char kTitleHasPathCharacter[] = "タイトルに使えない文字（\\ / :）が含まれているため登録できませんでした。";
const char kTitleNamesDevice[] = "タイトルにデバイス名（CON、NUL、COM1 など）は使えないため登録できませんでした。";
const char kProgramPathTooLong[] = "選択したファイルのパスが長すぎるため登録できませんでした。";
const char kShortcutPathTooLong[] = "選択したファイルのパスが長すぎるため削除できませんでした。";
const char kNotChosen[] = "ファイルを選択できませんでした。";
static const char kNotWritten[] = "ショートカットを登録できませんでした。";
static const char kRunAsAdmin[] = "すべてのユーザーに適用するには、管理者として実行してください。";
static const char kNotDeleted[] = " を削除できませんでした。";

void ShowWarning(HWND owner, const char* text) {
  MessageBoxA(owner, text, kCaption, MB_OK | MB_ICONWARNING);
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

void ShowShortcutNotWritten(HWND owner, HRESULT result, StartupScope scope) {
  char text[1024];
  char reason[512];
  // For a failure that came from Win32, the system's words are those of the
  // Win32 code; FormatMessage knows most of those under the HRESULT as well.
  SystemErrorText(static_cast<DWORD>(result), reason, sizeof reason);
  CopyText(text, sizeof text, kNotWritten);
  AppendText(text, sizeof text, "\n\n");
  AppendText(text, sizeof text, reason);
  if (result == E_ACCESSDENIED && scope == kScopeAllUsers) {
    AppendText(text, sizeof text, "\n\n");
    AppendText(text, sizeof text, kRunAsAdmin);
  }
  ShowWarning(owner, text);
}

void ShowDeletionFailed(HWND owner, const char* stem, DWORD error) {
  char text[1024];
  char reason[512];
  SystemErrorText(error, reason, sizeof reason);
  CopyText(text, sizeof text, stem);
  AppendText(text, sizeof text, kNotDeleted);
  AppendText(text, sizeof text, "\n\n");
  AppendText(text, sizeof text, reason);
  ShowWarning(owner, text);
}
