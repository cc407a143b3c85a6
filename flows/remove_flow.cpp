#include "flows/remove_flow.h"

#include <commdlg.h>

#include "base/text.h"
#include "flows/app_state.h"
#include "flows/file_chooser.h"
#include "flows/flow_messages.h"
#include "startup/path_rules.h"

static const char kShortcutFilter[] =
    "ショートカットファイル (*.lnk)\0*.lnk\0すべてのファイル (*.*)\0*.*\0";
static const char kShortcutChooserTitle[] =
    "スタートアップから削除するプログラムを選択して、【開く】ボタンを押してください";
static const char kWillRemove[] = " をスタートアップフォルダから削除します";
static const char kRemoved[] = " をスタートアップフォルダから削除しました";
static const char kNotRemoved[] = "処理はキャンセルされ削除されませんでした";

// A stem of up to 259 bytes, the longer suffix (41 bytes) and the terminator.
const size_t kMessageSize = 301;

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

static void ShowWithStem(HWND owner, const char* stem, const char* suffix, UINT style) {
  char text[kMessageSize];
  CopyText(text, sizeof text, stem);
  AppendText(text, sizeof text, suffix);
  MessageBoxA(owner, text, kCaption, style);
}

int RemoveShortcut(HWND owner) {
  char stem[kPathSize];
  char text[kMessageSize];

  if (!SystemDllsReady(owner)) return 0;
  if (!ChooseShortcut(owner)) return 0;
  DisplayStem(appState.chosenPath, stem, sizeof stem);

  CopyText(text, sizeof text, stem);
  AppendText(text, sizeof text, kWillRemove);
  if (MessageBoxA(owner, text, kCaption, MB_YESNO | MB_ICONINFORMATION) == IDYES) {
    if (DeleteFileA(appState.chosenPath)) {
      ShowWithStem(owner, stem, kRemoved, MB_OK | MB_ICONINFORMATION);
    } else {
      ShowDeletionFailed(owner, stem, GetLastError(), appState.scope);
    }
  } else {
    MessageBoxA(owner, kNotRemoved, kCaption, MB_OK | MB_ICONINFORMATION);
  }
  return 0;
}
