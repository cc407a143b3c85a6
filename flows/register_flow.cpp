#include "flows/register_flow.h"

#include <commdlg.h>

#include "base/is_file.h"
#include "base/path_text.h"
#include "base/system_dlls.h"
#include "base/text.h"
#include "flows/also_started.h"
#include "flows/app_state.h"
#include "flows/file_chooser.h"
#include "flows/flow_messages.h"
#include "flows/title_dialog.h"
#include "startup/file_security.h"
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
    "ただし、この名前の登録は Windows で無効にされているため、ログインしても起動しません。"
    "タスク マネージャーの［スタートアップ］（Windows 11 では［スタートアップ アプリ］）で有効にしてください。";
static const char kManifestElevatesLine[] =
    "ただし、このプログラムは管理者として実行するように作られているため、Windows はログインしたときにこのプログラムを起動しません。";
static const char kCompatibilityElevatesLine[] =
    "ただし、このプログラムは互換性の設定で［管理者としてこのプログラムを実行する］が選ばれているため、"
    "Windows はログインしたときにこのプログラムを起動しません。";
static const char kTakenForInstallerLine[] =
    "ただし、このプログラムは名前からインストーラーと見なされ、管理者として実行されるため、"
    "Windows はログインしたときにこのプログラムを起動しません。";
static const char kOtherUsersLine[] =
    "ただし、このプログラムはあるユーザーの個人フォルダにあるため、ほかのユーザーがログインしたときには起動しません。";
static const char kNetworkDriveLine[] =
    "ただし、このプログラムはネットワーク上にあるため、ログインしたときにまだ接続されておらず、起動しないことがあります。";
static const char kRemovableDriveLine[] =
    "ただし、このプログラムは USB メモリーや CD/DVD などの取り外しできるドライブにあるため、"
    "ログインしたときにそれが接続されていなければ起動しません。";
static const char kOthersCanChangeLine[] =
    "ただし、このプログラムのファイルまたはフォルダは、管理者でないユーザーも変更できます。"
    "変更されると、ログインしたすべてのユーザー（管理者を含む）の権限で、別のプログラムが起動されるおそれがあります。";
static const char kNoRightAllUsers[] =
    "すべてのユーザーのスタートアップフォルダに書き込む権限がないため、登録できません。"
    "Tomavel をいったん終了し、右クリックして［管理者として実行］を選んで起動し直してください。";
static const char kNoRightUser[] = "ログインユーザーのスタートアップフォルダに書き込む権限がないため、登録できません。";
static const char kAlsoStartedLeadIn[] = "このプログラムは、次の登録でもログインしたときに起動します。";
static const char kReplacedLine[] = "同じ名前のショートカットがあったため、置き換えました。";
static const char kReplacedTargetLabel[] = "置き換える前のリンク先: ";
// The chooser hands back the program a picked shortcut points to; Wine's,
// and Windows' for some shortcuts, hand back the shortcut itself. Then its
// target is the pick. Returns 0 after a warning for a shortcut that could
// not be read (COM not started included) or a target the program cannot
// hold.
static int TakeShortcutTarget(HWND owner) {
  char target[kPathSize];
  HRESULT why = systemDlls.CoInitialize(NULL);
  TargetRead read = kShortcutNotRead;
  if (SUCCEEDED(why)) {
    read = ReadShortcutTarget(appState.chosenPath, target, sizeof target, &why);
    systemDlls.CoUninitialize();
  }
  if (read == kShortcutNotRead) {
    ShowShortcutNotRead(owner, why);
    return 0;
  }
  if (read != kTargetRead) {
    ShowWarning(owner, read == kTargetNotExact ? kProgramNameNotExact : kProgramPathTooLong);
    return 0;
  }
  CopyText(appState.chosenPath, sizeof appState.chosenPath, target);
  return 1;
}

int ChooseProgram(HWND owner) {
  static const ChooserSettings settings = {kProgramFilter, appState.initialFolder, kProgramChooserTitle,
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
  ReadShortcutTarget(shortcutPath, target, size, NULL);
  return 1;
}

GrowingText RegisteredMessage(StartupScope scope, const char* shortcutPath, const char* program,
                              const char* arguments, const char* replaced, int* warn) {
  static const struct {
    int reason;
    const char* line;
  } kLines[] = {{kSwitchedOff, kSwitchedOffLine},
                {kManifestAsksElevation, kManifestElevatesLine},
                {kCompatibilityAsksElevation, kCompatibilityElevatesLine},
                {kTakenForInstaller, kTakenForInstallerLine},
                {kOtherUsersCannot, kOtherUsersLine},
                {kOnNetworkDrive, kNetworkDriveLine},
                {kOnRemovableDrive, kRemovableDriveLine},
                {kOthersCanChange, kOthersCanChangeLine}};
  // The outcome first, then what may stop it, then the rest.
  GrowingText text = NewText();
  int reasons = ReasonsNotStartedAtLogon(scope, FileNamePart(shortcutPath), program);
  AddText(&text, kRegistered);
  for (const auto& line : kLines) {
    if ((reasons & line.reason) == 0) continue;
    AddText(&text, "\n\n");
    AddText(&text, line.line);
  }
  WCHAR wideArguments[kFieldSize];
  WidenPath(arguments, wideArguments, kFieldSize);
  int others = AddOtherEntries(&text, kAlsoStartedLeadIn, program, wideArguments, shortcutPath);
  if (replaced != NULL) {
    AddText(&text, "\n\n");
    AddText(&text, kReplacedLine);
    if (replaced[0] != '\0') {
      AddText(&text, "\n");
      AddText(&text, kReplacedTargetLabel);
      AddText(&text, replaced);
    }
  }
  *warn = reasons != 0 || others > 0;
  return text;
}

int RegisterProgram(HWND owner) {
  char target[kPathSize];
  char workingDirectory[kPathSize];
  char shortcutPath[kPathSize];

  if (!SystemDllsReady(owner)) return 0;
  // Before any work of the user's: the folder (the title dialog refuses a
  // title it cannot take while the dialog is still open), and the right to
  // write there. Where that cannot be told, the write itself will.
  if (!StartupFolderReady(owner, appState.startupFolder, appState.scope)) return 0;
  if (MayCreateFileIn(appState.startupFolder) == 0) {
    ShowWarning(owner, appState.scope == kScopeAllUsers ? kNoRightAllUsers : kNoRightUser);
    return 0;
  }
  if (!ChooseProgram(owner)) return 0;
  RunTitleDialog();
  if (appState.title[0] == '\0') return 0;  // the title dialog said why

  CopyText(target, sizeof target, appState.chosenPath);
  DirectoryPart(target, workingDirectory, sizeof workingDirectory);

  CopyText(shortcutPath, sizeof shortcutPath, appState.startupFolder);
  if (!ComposeShortcutPath(shortcutPath, sizeof shortcutPath, appState.title)) {
    ShowWarning(owner, kTitleTooLong);
    return 0;
  }

  // S_FALSE, already initialised, is fine. A failure after the user typed a
  // title is said, with the system's reason.
  HRESULT initialised = systemDlls.CoInitialize(NULL);
  if (FAILED(initialised)) {
    ShowShortcutNotWritten(owner, initialised, appState.scope == kScopeAllUsers);
    return 0;
  }
  // A file of the same name is replaced without a question, but never
  // unseen: the first program would stop starting at logon without a word.
  char replacedTarget[kPathSize];
  int replaces = ReadReplacedShortcut(shortcutPath, replacedTarget, sizeof replacedTarget);
  HRESULT written = CreateStartupShortcut(shortcutPath, target, workingDirectory, appState.arguments);
  int warn = 0;
  GrowingText text = NewText();
  if (SUCCEEDED(written)) {
    text = RegisteredMessage(appState.scope, shortcutPath, target, appState.arguments, replaces ? replacedTarget : NULL,
                             &warn);
  }
  systemDlls.CoUninitialize();

  if (SUCCEEDED(written)) {
    MessageBoxA(owner, TextOr(text, kRegistered), kCaption, MB_OK | (warn ? MB_ICONWARNING : MB_ICONINFORMATION));
  } else {
    ShowShortcutNotWritten(owner, written, appState.scope == kScopeAllUsers);
  }
  FreeText(&text);
  return 1;
}
