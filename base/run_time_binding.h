// The one way the program binds a function at run time: by name, from a
// system DLL only, typed by the SDK's own declaration (decltype). Functions
// newer than the oldest Windows the program runs on (Windows 7) are bound
// so, never imported: a missing import would stop the program from starting
// there at all.
#pragma once

#include <windows.h>

// Takes the program's folder and the current directory out of every later
// DLL search where the system allows it. The entry's first step.
void LockDllSearch();

// kernel32, loaded in every process before the program runs: found, never
// loaded again.
HMODULE KernelModule();

// A DLL from the system folder only, loaded at first use; a DLL already
// loaded is only counted up again, and nothing is ever unloaded. Its own
// dependencies are never looked for in the program's folder either. Null
// when it cannot be loaded.
HMODULE LoadSystemDll(const char* dll);

// Binds name from module (which may be null) into slot, a function pointer
// of the caller's type. Returns 1 when bound; else 0, the slot null.
template <typename Function>
int BindFunction(HMODULE module, const char* name, Function* slot) {
  static_assert(sizeof(Function) == sizeof(FARPROC), "a slot holds one function pointer");
  FARPROC found = module != NULL ? GetProcAddress(module, name) : NULL;
  CopyMemory(slot, &found, sizeof found);
  return found != NULL;
}
