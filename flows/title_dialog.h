// The dialog that asks for the shortcut's title (required) and arguments.
#pragma once

#include <windows.h>

// Runs template 104 owned by the main window. Returns IDC_TITLE_OK (1002),
// IDC_TITLE_CANCEL (1003) or -1 when the dialog cannot be created. Leaves the
// typed texts in appState.title and appState.arguments; title is empty when
// the registration is not to go on.
INT_PTR RunTitleDialog();

INT_PTR CALLBACK TitleDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void PaintTitlePrompts(HWND window);

// Where the message tells that the colours or the contrast theme changed,
// reads whether a contrast theme runs (Microsoft asks programs to check at
// start and on these) and has window painted again. Both windows call it.
void FollowContrastTheme(HWND window, UINT message, WPARAM wParam);
