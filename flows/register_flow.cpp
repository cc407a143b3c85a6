#include "flows/register_flow.h"

#include <commdlg.h>
#include <string.h>

#include "base/is_file.h"
#include "base/path_text.h"
#include "base/system_dlls.h"
#include "base/text.h"
#include "flows/app_state.h"
#include "flows/file_chooser.h"
#include "flows/flow_messages.h"
#include "flows/title_dialog.h"
#include "startup/logon_reasons.h"
#include "startup/path_rules.h"
#include "startup/program_files.h"
#include "startup/shortcut_target.h"
#include "startup/shortcut_writer.h"

static const char kProgramFilter[] =
    "プログラムファイル (*.exe)\0*.exe\0すべてのファイル (*.*)\0*.*\0";
static const char kProgramChooserTitle[] =
    "スタートアップに登録するプログラムを選択して、【開く】ボタンを押してください";
static const char kRegistered[] = "スタートアップへショートカットを登録しました";
static const char kProgramNotFound[] = "選択したプログラムが見つからないため登録できませんでした。";
static const char kSwitchedOffLine[] =
    "ただし、この名前のスタートアップは Windows で無効にされているため、ログインしても起動しません。"
    "タスク マネージャーの［スタートアップ アプリ］で有効にしてください。";
static const char kManifestElevatesLine[] =
    "ただし、このプログラムは管理者として実行するように作られているため、ログインしたときに Windows が起動しません。";
static const char kCompatibilityElevatesLine[] =
    "ただし、このプログラムは互換性の設定で［管理者としてこのプログラムを実行する］が選ばれているため、"
    "ログインしたときに Windows が起動しません。";
static const char kTakenForInstallerLine[] =
    "ただし、このプログラムは名前からインストーラーと見なされ、管理者として実行されるため、ログインしたときに Windows が起動しません。";
static const char kReplacedLine[] = "同じ名前のショートカットがあったため、置き換えました。";
static const char kReplacedTargetLabel[] = "置き換える前のリンク先: ";
// Room for the success and every line that may follow it, each after a blank
// line: the replaced shortcut with a whole path, and every reason at once.
const size_t kRegisteredSize = sizeof kRegistered + sizeof kReplacedLine + sizeof kReplacedTargetLabel + kPathSize +
                               sizeof kSwitchedOffLine + sizeof kManifestElevatesLine +
                               sizeof kCompatibilityElevatesLine + sizeof kTakenForInstallerLine + 5 * 2;

// The chooser hands back the program a picked shortcut points to; Wine's,
// and Windows' for some shortcuts, hand back the shortcut itself. Then its
// target is the pick. Returns 0 after a warning for a target the program
// cannot hold.
static int TakeShortcutTarget(HWND owner) {
  char target[kPathSize];
  NarrowResult read = kNarrowedExactly;
  target[0] = '\0';
  if (SUCCEEDED(systemDlls.CoInitialize(NULL))) {
    read = ReadShortcutTarget(appState.chosenPath, target, sizeof target);
    systemDlls.CoUninitialize();
  }
  if (read != kNarrowedExactly) {
    ShowWarning(owner, read == kNotExact ? kProgramNameNotExact : kProgramPathTooLong);
    return 0;
  }
  CopyText(appState.chosenPath, sizeof appState.chosenPath, target);
  return 1;
}

int ChooseProgram(HWND owner) {
  ChooserSettings settings = {kProgramFilter, appState.initialFolder, kProgramChooserTitle,
                              OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, "exe", kProgramPathTooLong,
                              kProgramNameNotExact};
  if (!RunFileChooser(owner, settings)) return 0;
  int taken = EndsWithLnk(appState.chosenPath) ? TakeShortcutTarget(owner) : 1;
  // Windows told this 32-bit program the 32-bit Program Files folder for a
  // program in the 64-bit one: the program that is there is the pick.
  char counterpart[kPathSize];
  if (taken && ProgramFilesCounterpart(appState.chosenPath, counterpart, sizeof counterpart)) {
    CopyText(appState.chosenPath, sizeof appState.chosenPath, counterpart);
  }
  // A shortcut to a program that is gone starts nothing at logon.
  if (taken && !IsFile(appState.chosenPath)) {
    ShowWarning(owner, kProgramNotFound);
    taken = 0;
  }
  if (!taken) {
    ZeroMemory(appState.chosenPath, sizeof appState.chosenPath);
    return 0;
  }
  // Only a pick the flow accepts moves the next chooser.
  DirectoryPart(appState.chosenPath, appState.initialFolder, sizeof appState.initialFolder);
  return 1;
}

// 1 when a file of the shortcut's name is there (in any case: the same file,
// as Windows compares names), with the program it starts in target (size
// bytes), read exactly; target is empty where the file is no shortcut or
// names no program the code page holds. COM must be initialised.
static int ReadReplacedShortcut(const char* shortcutPath, char* target, int size) {
  target[0] = '\0';
  if (!IsFile(shortcutPath)) return 0;
  ReadShortcutTarget(shortcutPath, target, size);
  return 1;
}

char* RegisteredMessage(StartupScope scope, const char* fileName, const char* program, const char* replaced,
                        int* warn) {
  const struct {
    int reason;
    const char* line;
  } kLines[] = {{kSwitchedOff, kSwitchedOffLine},
                {kManifestAsksElevation, kManifestElevatesLine},
                {kCompatibilityAsksElevation, kCompatibilityElevatesLine},
                {kTakenForInstaller, kTakenForInstallerLine}};
  int reasons = ReasonsNotStartedAtLogon(scope, fileName, program);
  char* text = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, kRegisteredSize));
  *warn = reasons != 0;
  if (text == NULL) return NULL;
  CopyText(text, kRegisteredSize, kRegistered);
  if (replaced != NULL) {
    AppendText(text, kRegisteredSize, "\n\n");
    AppendText(text, kRegisteredSize, kReplacedLine);
    if (replaced[0] != '\0') {
      AppendText(text, kRegisteredSize, kReplacedTargetLabel);
      AppendText(text, kRegisteredSize, replaced);
    }
  }
  for (const auto& line : kLines) {
    if ((reasons & line.reason) == 0) continue;
    AppendText(text, kRegisteredSize, "\n\n");
    AppendText(text, kRegisteredSize, line.line);
  }
  return text;
}

int RegisterProgram(HWND owner) {
  char target[kPathSize];
  char workingDirectory[kPathSize];
  char shortcutPath[kPathSize];

  if (!SystemDllsReady(owner)) return 0;
  if (!ChooseProgram(owner)) return 0;
  RunTitleDialog();
  if (appState.title[0] == '\0') return 0;  // the title dialog said why

  // The shortcut must land in the Startup folder itself, as a file.
  if (TitleHasForbiddenCharacter(appState.title)) {
    ShowWarning(owner, kTitleHasForbiddenCharacter);
    return 0;
  }
  if (TitleNamesDevice(appState.title)) {
    ShowWarning(owner, kTitleNamesDevice);
    return 0;
  }

  CopyText(target, sizeof target, appState.chosenPath);
  DirectoryPart(target, workingDirectory, sizeof workingDirectory);

  if (!StartupFolderReady(owner, shortcutPath, appState.scope)) return 0;
  size_t folderLength = strlen(shortcutPath);
  if (!ComposeShortcutPath(shortcutPath, sizeof shortcutPath, appState.title)) {
    ShowWarning(owner, kTitleTooLong);
    return 0;
  }

  if (FAILED(systemDlls.CoInitialize(NULL))) return 0;  // S_FALSE, already initialised, is fine
  // A file of the same name is replaced without a question, but never
  // unseen: the first program would stop starting at logon without a word.
  char replacedTarget[kPathSize];
  int replaces = ReadReplacedShortcut(shortcutPath, replacedTarget, sizeof replacedTarget);
  HRESULT written = CreateStartupShortcut(shortcutPath, target, workingDirectory,
                                          appState.arguments, SW_SHOWNORMAL, NULL, NULL, 0);
  systemDlls.CoUninitialize();

  if (SUCCEEDED(written)) {
    int warn = 0;
    char* text = RegisteredMessage(appState.scope, shortcutPath + folderLength + 1, target, replaces ? replacedTarget : NULL, &warn);
    MessageBoxA(owner, text != NULL ? text : kRegistered, kCaption, MB_OK | (warn ? MB_ICONWARNING : MB_ICONINFORMATION));
    if (text != NULL) HeapFree(GetProcessHeap(), 0, text);
  } else {
    ShowShortcutNotWritten(owner, written, appState.scope);
  }
  return 1;
}
