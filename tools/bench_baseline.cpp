// The benchmark's baseline: the least a program can do to show a dialog and
// then a file chooser the way Tomavel does, with nothing else.
#include <windows.h>
#include <commdlg.h>

static INT_PTR CALLBACK BaselineProc(HWND window, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return 0;
  ShowWindow(window, SW_SHOW);
  char path[MAX_PATH] = "";
  OPENFILENAMEA chooser = {};
  chooser.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  chooser.hwndOwner = window;
  chooser.lpstrFilter = "*.exe\0*.exe\0";
  chooser.lpstrFile = path;
  chooser.nMaxFile = sizeof path;
  chooser.lpstrTitle = "Tomavel baseline";
  chooser.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  GetOpenFileNameA(&chooser);
  EndDialog(window, 0);
  return 1;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // An empty dialog from a template in memory: no resources needed.
  struct {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
  } empty = {{WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, 200, 100}, 0, 0, 0};
  DialogBoxIndirectParamA(instance, &empty.header, NULL, BaselineProc, 0);
  return 0;
}
