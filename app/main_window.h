// The main window: a modal dialog from template 106 that offers the two
// flows, the choice of Startup scope and the exit button.
#pragma once

#include <windows.h>

// While a flow runs (the registration it opens with included), every command
// and close request only brings the flow's front window forward.
INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Moves the window to the middle of the desktop, shows and activates it and
// puts it on top. Always returns 0.
int CentreOnDesktop(HWND window);

// Runs the main window until the user leaves; the entry's whole work.
// Returns the exit code, 0 whatever happened.
int RunTomavel(HINSTANCE instance);
