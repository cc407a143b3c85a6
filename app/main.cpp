// The program's entry. It starts here, not in the C runtime's start-up code:
// it takes no command line and has no static constructors, atexit handlers,
// console, floating point or threads, so that code would only add bytes
// (about a quarter of the program). Nothing runs constructors of globals,
// so every global is constant-initialised (see app/app_state.h).
#include <windows.h>

#include "app/main_window.h"
#include "base/error_mode.h"
#include "base/run_time_binding.h"

// Windows calls an entry with a stack aligned to 4 bytes only; the 32-bit
// compiler assumes 16 (the C runtime's entry realigns it too).
#if defined(__i386__)
#define TOMAVEL_ENTRY_ALIGN __attribute__((force_align_arg_pointer))
#else
#define TOMAVEL_ENTRY_ALIGN
#endif

extern "C" TOMAVEL_ENTRY_ALIGN void WINAPI TomavelEntry() {
  // Before anything can load a DLL: the program runs from wherever it was
  // downloaded, and anyone may have put a DLL of any name beside it.
  LockDllSearch();
  SilenceCriticalErrors();
  ExitProcess(static_cast<UINT>(RunTomavel(GetModuleHandleA(NULL))));
}
