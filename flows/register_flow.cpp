#include "flows/register_flow.h"

#include <commdlg.h>

#include "app/app_state.h"
#include "app/system_dlls.h"
#include "app/text.h"
#include "flows/file_chooser.h"
#include "flows/flow_messages.h"
#include "flows/title_dialog.h"
#include "startup/path_rules.h"
#include "startup/shortcut_writer.h"

static const char kProgramFilter[] =
    "プログラムファイル (*.exe)\0*.exe\0すべてのファイル (*.*)\0*.*\0";
static const char kProgramChooserTitle[] =
    "スタートアップに登録するプログラムを選択して、【開く】ボタンを押してください";
static const char kRegistered[] = "スタートアップへショートカットを登録しました";

int ChooseProgram(HWND owner) {
  ChooserSettings settings = {kProgramFilter, appState.initialFolder, kProgramChooserTitle,
                              OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, "exe", kProgramPathTooLong,
                              kProgramNameNotExact};
  if (!RunFileChooser(owner, settings)) return 0;
  // Only a pick the flow accepts moves the next chooser.
  DirectoryPart(appState.chosenPath, appState.initialFolder, sizeof appState.initialFolder);
  return 1;
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
  if (!ComposeShortcutPath(shortcutPath, sizeof shortcutPath, appState.title)) {
    ShowWarning(owner, kTitleTooLong);
    return 0;
  }

  if (FAILED(systemDlls.CoInitialize(NULL))) return 0;  // S_FALSE, already initialised, is fine
  HRESULT written = CreateStartupShortcut(shortcutPath, target, workingDirectory,
                                          appState.arguments, SW_SHOWNORMAL, NULL, NULL, 0);
  systemDlls.CoUninitialize();

  if (SUCCEEDED(written)) {
    MessageBoxA(owner, kRegistered, kCaption, MB_OK | MB_ICONINFORMATION);
  } else {
    ShowShortcutNotWritten(owner, written, appState.scope);
  }
  return 1;
}
