// GUI entry. The command line and the show command are ignored: the program
// takes no arguments and always opens the same way.
#include <windows.h>

#include "app/main_window.h"
#include "app/system_dlls.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything can load a DLL: the program runs from wherever it was
  // downloaded, and anyone may have put a DLL of any name beside it.
  LockDllSearch();
  return RunTomavel(instance);
}
