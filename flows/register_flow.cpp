#include "flows/register_flow.h"

#include <commdlg.h>
#include <objbase.h>

#include "app/app_state.h"
#include "app/text.h"
#include "flows/flow_messages.h"
#include "flows/title_dialog.h"
#include "startup/path_rules.h"
#include "startup/shortcut_writer.h"
#include "startup/startup_folder.h"

static const char kProgramFilter[] =
    "プログラムファイル (*.exe)\0*.exe\0すべてのファイル (*.*)\0*.*\0";
static const char kProgramChooserTitle[] =
    "スタートアップに登録するプログラムを選択して、【開く】ボタンを押してください";
static const char kRegistered[] = "スタートアップへショートカットを登録しました";

int ChooseProgram(HWND owner) {
  OPENFILENAMEA chooser;
  ZeroMemory(appState.chosenPath, sizeof appState.chosenPath);
  ZeroMemory(appState.chosenFileTitle, sizeof appState.chosenFileTitle);
  ZeroMemory(&chooser, sizeof chooser);
  // The older, shorter record layout (76 bytes in the 32-bit program).
  chooser.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  chooser.hwndOwner = owner;
  chooser.lpstrFilter = kProgramFilter;
  chooser.nFilterIndex = 0;
  chooser.lpstrFile = appState.chosenPath;
  chooser.nMaxFile = sizeof appState.chosenPath;
  chooser.lpstrFileTitle = appState.chosenFileTitle;
  chooser.nMaxFileTitle = sizeof appState.chosenFileTitle;
  chooser.lpstrInitialDir = appState.initialFolder;
  chooser.lpstrTitle = kProgramChooserTitle;
  chooser.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  chooser.lpstrDefExt = "exe";
  BOOL picked = GetOpenFileNameA(&chooser);
  if (appState.chosenPath[0] != '\0') {
    DirectoryPart(appState.chosenPath, appState.initialFolder, sizeof appState.initialFolder);
  }
  return picked;
}

int RegisterProgram(HWND owner) {
  char target[kPathSize];
  char workingDirectory[kPathSize];
  char shortcutPath[kPathSize];

  if (!ChooseProgram(owner)) return 0;

  if (appState.titleDialog != NULL) {
    // Only a command from outside the user interface gets here: the main
    // window is disabled while the title dialog is open.
    SetForegroundWindow(appState.titleDialog);
  } else {
    RunTitleDialog();
  }
  if (appState.title[0] == '\0') return 0;  // the title dialog said why

  CopyText(target, sizeof target, appState.chosenPath);
  DirectoryPart(target, workingDirectory, sizeof workingDirectory);

  if (!GetStartupFolderPath(owner, shortcutPath, appState.scope)) {
    ShowWarning(owner, kFolderNotFound);
    return 0;
  }
  if (!ComposeShortcutPath(shortcutPath, sizeof shortcutPath, appState.title)) {
    ShowWarning(owner, kTitleTooLong);
    return 0;
  }

  if (FAILED(CoInitialize(NULL))) return 0;  // S_FALSE, already initialised, is fine
  HRESULT written = CreateStartupShortcut(shortcutPath, target, workingDirectory,
                                          appState.arguments, SW_SHOWNORMAL, NULL, NULL, 0);
  CoUninitialize();

  if (SUCCEEDED(written)) {
    MessageBoxA(owner, kRegistered, kCaption, MB_OK | MB_ICONINFORMATION);
  } else {
    ShowShortcutNotWritten(owner, written, appState.scope);
  }
  return 1;
}
