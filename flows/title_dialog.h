// The dialog that asks for the shortcut's title (required) and arguments.
#pragma once

#include <windows.h>

// Runs template 104 owned by the main window. Returns IDC_TITLE_OK (1002),
// IDC_TITLE_CANCEL (1003), or 0 or -1 when the dialog cannot be created,
// which it then says. Leaves the typed texts in appState.title and
// appState.arguments; title is empty when the registration is not to go on.
INT_PTR RunTitleDialog();

INT_PTR CALLBACK TitleDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void PaintTitlePrompts(HWND window);
