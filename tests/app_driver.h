// Helpers that know Tomavel's own windows, shared by the window and flow tests.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <set>
#include <string>

#include "flows/app_state.h"

namespace app_driver {

extern const char kProgramChooser[];
extern const char kShortcutChooser[];
// The texts of the program that several tests expect.
extern const char kRegistered[];
extern const char kCancelled[];

// Runs the main window from its template, as the entry does; its result.
INT_PTR RunMainWindow();

// How a driven main window ends once its steps are done.
enum MainWindowEnd { kThenPressExit, kStepsEndIt };
// Runs the main window, cancels the program chooser that opens with it (the
// folder it opened in goes to *openedIn), runs steps on the idle window, then
// presses the exit button unless the steps end the window themselves; a
// window left open then fails the test. Returns the window's result.
INT_PTR DriveMainWindow(const std::function<void(HWND main)>& steps, MainWindowEnd end = kThenPressExit,
                        std::string* openedIn = nullptr);
HWND FindMainWindow();
// The main window once enabled again and, after a paint (forced if repaint),
// with the focus on the exit button. Null (and a failure) otherwise.
HWND WaitForIdleMainWindow(bool repaint = false);
// Cancels the program chooser that opens with the main window.
HWND CancelOpeningChooser(std::string* folder = nullptr);
// The title dialog once painted with the focus in its title field.
HWND WaitForTitleDialog();
// Pixels of one colour in a rectangle of a window's client area.
int CountPixels(HWND window, int left, int top, int right, int bottom, COLORREF colour);

// A test with a stand-in owner window, a folder of programs to pick, and
// both Startup folders put back as they were found.
class FlowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::set<std::string> NewFiles(StartupScope scope) const;
  std::string StartupFile(StartupScope scope, const std::string& name) const;

  HWND owner_ = NULL;
  std::string programs_;     // holds app.exe
  std::string program_;      // programs_ + "\\app.exe"
  std::string userStartup_, allStartup_;
  std::set<std::string> userBefore_, allBefore_;
  char savedDirectory_[MAX_PATH] = "";
};

}  // namespace app_driver
