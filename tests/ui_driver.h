// Drives real dialogs in-process as a user would. The dialog under test runs
// modally on the test's thread; a second thread finds each window, reads it,
// types and clicks. Every wait is bounded: a window that never shows fails
// the test, and anything left open is dismissed so the run goes on.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ui {

const DWORD kWaitMs = 10000;

// A bound in milliseconds times the run's wait factor (TOMAVEL_WAIT_SCALE,
// set for the 32-bit code run under qemu). Every wait below applies it.
DWORD Scaled(DWORD ms);

// The static control that holds a message box's text.
const int kMessageBoxText = 0xFFFF;

// Whose windows a wait looks at.
enum WindowsOf { kThisProcess, kOtherProcess };

// The one bounded wait for a window: a visible, enabled top-level dialog with
// this caption (CP932) that holds a control with this id. Null, and a test
// failure, after ms without one.
HWND WaitForDialog(const char* caption, int controlId, DWORD ms = kWaitMs, WindowsOf whose = kThisProcess);
// The file chooser with this caption.
HWND WaitForChooser(const char* caption, DWORD ms = kWaitMs);
bool WaitUntil(const std::function<bool()>& condition, DWORD ms = kWaitMs, DWORD pollMs = 20);
bool WaitForClosed(HWND window, DWORD ms = kWaitMs);

std::string Text(HWND window);  // CP932 bytes
// The name a screen reader hears for the window's client object, in CP932,
// as the system's accessibility layer gives it; "<no name>" when it has none.
std::string AccessibleName(HWND window);
std::string ControlText(HWND dialog, int id);
HWND FocusOf(HWND window);      // the keyboard focus in the window's thread

void Click(HWND dialog, int id);                    // as a mouse click: posted
void Type(HWND dialog, int id, const std::string& text);
void Type(HWND dialog, int id, const std::wstring& text);  // any character, as a keyboard gives it
void PressKey(HWND window, UINT virtualKey);        // posted to window's focus
void CloseBox(HWND window);                         // the caption's close box

struct MessageBoxSeen {
  HWND window = NULL;
  std::string caption;
  std::string text;
  std::vector<int> buttons;  // ids of the visible buttons, in id order
  std::string icon;          // "warning", "question", "information", "error", "none"
};
// Waits for a message box with this caption and reads it.
bool WaitForMessageBox(const char* caption, MessageBoxSeen* seen, DWORD ms = kWaitMs);
// Presses a button of the box and waits until the box is gone.
void Answer(const MessageBoxSeen& box, int buttonId);
// Checks a message box as the user meets it, then answers it.
// With a screenshot name, the box is also saved as it looks before the answer;
// with an owner, the box must be owned by that window.
void ExpectMessageBox(const char* caption, const std::string& text, const std::vector<int>& buttons,
                      const char* icon, int answer, const char* screenshot = nullptr, HWND owner = NULL);

std::string ChooserFolder(HWND chooser);
void ChooseFile(HWND chooser, const std::string& path);  // types the name, presses Open
// The same with a name the ANSI code page may not hold.
void ChooseFile(HWND chooser, const std::wstring& path);
// Types into the chooser's file name box; works for another process's chooser too.
void TypeFileName(HWND chooser, const std::string& name);
void CancelChooser(HWND chooser);

// Runs modal on this thread and driver on a second one. When the driver is
// done, whatever modal left open is dismissed within a bound and the test
// fails, so a stuck dialog never hangs the run.
void RunDriven(const std::function<void()>& modal, const std::function<void()>& driver);

// Waits until nothing of the window waits for a paint and, for a message box,
// its text shows on the screen. Fails the test after ms.
bool WaitUntilDrawn(HWND window, DWORD ms = kWaitMs);

// Once drawn, saves the window as it is on screen to the screenshot folder
// as name.bmp.
bool SaveScreenshot(HWND window, const char* name);

// Top-level windows of this process that are visible now.
std::vector<HWND> VisibleWindows();

}  // namespace ui
