// GUI entry. The command line and the show command are ignored: the program
// takes no arguments and always opens the same way.
#include <windows.h>

#include "app/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return RunTomavel(instance);
}
