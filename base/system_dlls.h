// The system DLLs beyond the kernel's and the window manager's: the file
// chooser (comdlg32), the shell (shell32) and COM (ole32). None is loaded at
// start-up; each is loaded at first use from the system folder only, so that
// no DLL put beside the program or into the current directory ever runs
// inside it. This is the only place that names them.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <stddef.h>

// Every function of those DLLs the program calls, typed as the system
// declares it (stdcall in the 32-bit program). Null until bound. File names
// come through the wide functions only: the ANSI ones give a look-alike for
// a name the code page cannot hold.
struct SystemDlls {
  decltype(&::GetOpenFileNameW) GetOpenFileNameW;
  decltype(&::CommDlgExtendedError) CommDlgExtendedError;
  decltype(&::SHGetMalloc) SHGetMalloc;
  decltype(&::SHGetSpecialFolderLocation) SHGetSpecialFolderLocation;
  decltype(&::SHGetPathFromIDListW) SHGetPathFromIDListW;
  decltype(&::CoInitialize) CoInitialize;
  decltype(&::CoUninitialize) CoUninitialize;
  decltype(&::CoCreateInstance) CoCreateInstance;
};

extern SystemDlls systemDlls;

// Loads the three DLLs and binds every function above, once. Returns 1 when
// all are bound; else 0, with "dll の function" of the first one missing in
// missing (size bytes).
int BindSystemDlls(char* missing, size_t size);
