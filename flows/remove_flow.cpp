#include "flows/remove_flow.h"

#include <commdlg.h>
#include <shlobj.h>

#include "base/path_text.h"
#include "base/same_file.h"
#include "base/text.h"
#include "base/system_dlls.h"
#include "flows/also_started.h"
#include "flows/app_state.h"
#include "flows/file_chooser.h"
#include "flows/flow_messages.h"
#include "startup/path_rules.h"
#include "startup/shortcut_target.h"
#include "startup/startup_folder.h"

static const char kShortcutFilter[] =
    "ショートカットファイル (*.lnk)\0*.lnk\0すべてのファイル (*.*)\0*.*\0";
static const char kShortcutChooserTitle[] =
    "スタートアップから削除するプログラムを選択して、【開く】ボタンを押してください";
static const char kWillRemove[] = " をスタートアップフォルダから削除します";
static const char kRemoved[] = " をスタートアップフォルダから削除しました";
static const char kNotRemoved[] = "処理はキャンセルされ削除されませんでした";
static const char kNotInStartupFolder[] = "スタートアップフォルダにないファイルは削除できません。";
static const char kStillStartedLeadIn[] = "このプログラムは、次の登録でまだログインしたときに起動します。";

int ChooseShortcut(HWND owner) {
  char startFolder[kPathSize];
  if (!StartupFolderReady(owner, startFolder, appState.scope)) return 0;
  // Without OFN_NODEREFERENCELINKS the chooser would hand back the program a
  // shortcut points to, and the flow would delete the program.
  ChooserSettings settings = {kShortcutFilter, startFolder, kShortcutChooserTitle,
                              OFN_NODEREFERENCELINKS | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, "lnk",
                              kShortcutPathTooLong, kShortcutNameNotExact};
  return RunFileChooser(owner, settings);
}

// 1 when path lies directly in a Startup folder: the scope's own, or the
// other one, which the chooser can reach too. A file in a folder inside one
// is not started at logon, and anything else is not the flow's to delete.
static int IsStartupFolder(HWND owner, const char* folder, StartupScope scope) {
  char startup[kPathSize];
  return GetStartupFolderPath(owner, startup, scope) == kFolderFound && SameFile(folder, startup);
}

// The Startup folder path lies directly in (kScopeUser or kScopeAllUsers),
// or 0 for none.
static StartupScope StartupFolderOfFile(HWND owner, const char* path) {
  char folder[kPathSize];
  if (!DirectoryPart(path, folder, sizeof folder)) return 0;
  if (IsStartupFolder(owner, folder, kScopeUser)) return kScopeUser;
  return IsStartupFolder(owner, folder, kScopeAllUsers) ? kScopeAllUsers : 0;
}

int RemoveShortcut(HWND owner) {
  char stem[kPathSize];
  char program[kPathSize];
  WCHAR arguments[INFOTIPSIZE];  // the most a shortcut stores

  if (!SystemDllsReady(owner)) return 0;
  if (!ChooseShortcut(owner)) return 0;
  StartupScope folder = StartupFolderOfFile(owner, appState.chosenPath);
  if (folder == 0) {
    ShowWarning(owner, kNotInStartupFolder);
    return 0;
  }
  DisplayStem(appState.chosenPath, stem, sizeof stem);
  GrowingText text = NewText();
  AddText(&text, stem);
  AddText(&text, kWillRemove);
  int yes = MessageBoxA(owner, TextOr(text, kWillRemove), kCaption, MB_YESNO | MB_ICONINFORMATION) == IDYES;
  FreeText(&text);
  if (!yes) {
    MessageBoxA(owner, kNotRemoved, kCaption, MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  // Read before the shortcut goes: the program may still start at logon
  // through another entry, and then the user is told.
  HRESULT initialised = systemDlls.CoInitialize(NULL);
  program[0] = '\0';
  arguments[0] = 0;
  WCHAR picked[kPathSize];
  if (SUCCEEDED(initialised) && WidenPath(appState.chosenPath, picked, kPathSize)) {
    ReadStartedProgram(picked, program, sizeof program, arguments, INFOTIPSIZE);
  }
  if (DeleteFileA(appState.chosenPath)) {
    AddText(&text, stem);
    AddText(&text, kRemoved);
    int others = SUCCEEDED(initialised) ? AddOtherEntries(&text, kStillStartedLeadIn, program, arguments, NULL) : 0;
    MessageBoxA(owner, TextOr(text, kRemoved), kCaption, MB_OK | (others > 0 ? MB_ICONWARNING : MB_ICONINFORMATION));
    FreeText(&text);
  } else {
    // The hint follows the folder the file is in, not the scope chosen.
    ShowDeletionFailed(owner, stem, GetLastError(), folder == kScopeAllUsers);
  }
  if (SUCCEEDED(initialised)) systemDlls.CoUninitialize();
  return 0;
}
