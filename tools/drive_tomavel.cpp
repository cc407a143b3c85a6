// Works the real Tomavel.exe from outside, through its windows, as a user
// would: text typed with WM_SETTEXT, buttons pressed with BM_CLICK.
//   drive_tomavel demo OUTDIR           one session with a screenshot per step
//   drive_tomavel bench RUNS BASELINE   timings and memory for scripts/bench
// Every wait is bounded; a step that does not behave ends the run non-zero
// with the step's name.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <stdio.h>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/app_driver.h"
#include "tests/screenshot.h"
#include "tests/test_support.h"
#include "tests/ui_driver.h"

namespace {

using app_driver::kProgramChooser;
using app_driver::kRegistered;
using app_driver::kShortcutChooser;

const char kDemoTitle[] = "メモ帳デモ";
const char kDemoArguments[] = "/p C:\\Users\\Public\\Documents\\デモ.txt";
const DWORD kWaitMs = 20000;

std::string screens;  // folder for screenshots; empty: none
std::string currentStep;
int stepNumber = 0;

void Say(const std::string& cp932) {
  fputs(testing_support::Utf8(cp932).c_str(), stdout);
  fflush(stdout);
}

[[noreturn]] void Fail(const std::string& why) {
  Say("demo: FAILED at step " + std::to_string(stepNumber) + " (" + currentStep + "): " + why + "\n");
  ExitProcess(1);
}

// The window helpers report through GoogleTest; here any failure ends the
// run at once, naming the step.
class FailTheStep : public testing::EmptyTestEventListener {
  void OnTestPartResult(const testing::TestPartResult& result) override {
    if (result.failed()) Fail(result.message());
  }
};

void Step(const std::string& name) {
  currentStep = name;
  ++stepNumber;
  if (!screens.empty()) Say("step " + std::to_string(stepNumber) + ": " + name + "\n");
}

// A dialog of Tomavel's process with this caption and control.
HWND WaitFor(const char* caption, int controlId) {
  return ui::WaitForDialog(caption, controlId, kWaitMs, ui::kOtherProcess);
}

void Shot(HWND window, const char* name) {
  if (screens.empty()) return;
  ui::WaitUntilDrawn(window, kWaitMs);
  std::string path = screens + "\\" + name + ".bmp";
  if (!SaveWindowBitmap(window, path.c_str())) Fail("cannot save " + path);
}

void Open(HWND chooser, const std::string& path) {
  ui::TypeFileName(chooser, path);
  ui::Click(chooser, IDOK);
}

// Reads the message box with this caption, checks its text, answers it.
void Answer(const std::string& expected, int button, const char* shot) {
  HWND box = WaitFor("Tomavel", button);
  std::string text = ui::ControlText(box, ui::kMessageBoxText);
  if (text != expected) Fail("the message said \"" + text + "\", expected \"" + expected + "\"");
  if (!screens.empty()) Say("  message: " + text + "\n");
  Shot(box, shot);
  ui::Click(box, button);
  if (!ui::WaitForClosed(box, kWaitMs)) Fail("a window did not close");
}

PROCESS_INFORMATION Start(const char* exe, const char* directory) {
  std::string command = std::string("\"") + exe + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(exe, &command[0], NULL, NULL, FALSE, 0, NULL, directory, &startup, &process))
    Fail(std::string("cannot start ") + exe);
  return process;
}

void WaitExit(PROCESS_INFORMATION& process) {
  if (WaitForSingleObject(process.hProcess, ui::Scaled(kWaitMs)) != WAIT_OBJECT_0) Fail("the program did not end");
  DWORD code = 99;
  GetExitCodeProcess(process.hProcess, &code);
  if (code != 0) Fail("exit code " + std::to_string(code));
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

std::string ShortcutPath() { return testing_support::StartupFolderOf(kScopeUser) + "\\" + kDemoTitle + ".lnk"; }

// From the program chooser to the success message, on an open main window.
void Register(HWND chooser, const std::string& program) {
  Shot(chooser, "02-program-chooser");
  Step("pick the program " + program);
  Open(chooser, program);
  Step("type the title and the arguments");
  HWND title = WaitFor("Tomavel", IDC_TITLE);
  ui::Type(title, IDC_TITLE, kDemoTitle);
  ui::Type(title, IDC_ARGUMENTS, kDemoArguments);
  Shot(title, "03-title-dialog");
  ui::Click(title, IDC_TITLE_OK);
  Step("read the registration message");
  Answer(kRegistered, IDOK, "04-registered-message");
  if (GetFileAttributesA(ShortcutPath().c_str()) == INVALID_FILE_ATTRIBUTES) Fail("no shortcut was written");
}

void Remove(HWND mainWindow) {
  Step("press the remove button");
  ui::Click(mainWindow, IDC_REMOVE);
  HWND chooser = WaitFor(kShortcutChooser, IDOK);
  Shot(chooser, "06-shortcut-chooser");
  Step("pick the shortcut");
  Open(chooser, ShortcutPath());
  Step("confirm the removal");
  Answer(std::string(kDemoTitle) + " をスタートアップフォルダから削除します", IDYES, "07-remove-confirmation");
  Step("read the removal message");
  Answer(std::string(kDemoTitle) + " をスタートアップフォルダから削除しました", IDOK, "08-removed-message");
  if (GetFileAttributesA(ShortcutPath().c_str()) != INVALID_FILE_ATTRIBUTES) Fail("the shortcut is still there");
}

int Demo(const std::string& exe) {
  Step("start Tomavel.exe");
  PROCESS_INFORMATION process = Start(exe.c_str(), "C:\\windows");
  Step("the program chooser opens at start-up");
  HWND chooser = WaitFor(kProgramChooser, IDOK);
  Register(chooser, "C:\\windows\\notepad.exe");
  Step("the main window");
  HWND mainWindow = WaitFor("Tomavel", IDC_EXIT);
  InvalidateRect(mainWindow, NULL, TRUE);
  Shot(mainWindow, "05-main-window");
  // Kept for lnkinfo: the script prints what the shortcut holds.
  if (!CopyFileA(ShortcutPath().c_str(), (screens + "\\registered.lnk").c_str(), FALSE))
    Fail("cannot keep a copy of the shortcut");
  Remove(mainWindow);
  Step("leave with the exit button");
  ui::Click(WaitFor("Tomavel", IDC_EXIT), IDC_EXIT);
  WaitExit(process);
  Say("demo: all " + std::to_string(stepNumber) + " steps behaved\n");
  return 0;
}

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Milliseconds from process creation until a chooser with this caption exists.
double TimeToChooser(const char* exe, const char* caption, bool tomavel) {
  double start = Now();
  PROCESS_INFORMATION process = Start(exe, "C:\\windows");
  HWND chooser = WaitFor(caption, IDOK);
  double elapsed = Now() - start;
  ui::Click(chooser, IDCANCEL);
  if (tomavel) ui::Click(WaitFor("Tomavel", IDC_EXIT), IDC_EXIT);
  WaitExit(process);
  return elapsed;
}

int Bench(const std::string& exe, int runs, const char* baseline) {
  std::vector<double> tomavel, base, registration, removal, peak;
  for (int i = 0; i < runs; ++i) {
    Step("start-up run " + std::to_string(i + 1));
    tomavel.push_back(TimeToChooser(exe.c_str(), kProgramChooser, true));
    base.push_back(TimeToChooser(baseline, "Tomavel baseline", false));
  }
  for (int i = 0; i < runs; ++i) {
    Step("registration run " + std::to_string(i + 1));
    PROCESS_INFORMATION process = Start(exe.c_str(), "C:\\windows");
    HWND chooser = WaitFor(kProgramChooser, IDOK);
    double start = Now();
    Register(chooser, "C:\\windows\\notepad.exe");
    registration.push_back(Now() - start);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) Fail("no memory figures");
    peak.push_back(static_cast<double>(memory.PeakWorkingSetSize) / 1024.0);
    HWND mainWindow = WaitFor("Tomavel", IDC_EXIT);
    start = Now();
    Remove(mainWindow);
    removal.push_back(Now() - start);
    ui::Click(WaitFor("Tomavel", IDC_EXIT), IDC_EXIT);
    WaitExit(process);
  }
  printf("| measure | median | runs |\n|---|---:|---:|\n");
  printf("| start to program chooser, Tomavel | %.1f ms | %d |\n", Median(tomavel), runs);
  printf("| start to file chooser, baseline | %.1f ms | %d |\n", Median(base), runs);
  printf("| ratio Tomavel / baseline | %.2f | |\n", Median(tomavel) / Median(base));
  printf("| one registration (chooser, title dialog, message) | %.1f ms | %d |\n", Median(registration), runs);
  printf("| one removal (chooser, confirmation, message) | %.1f ms | %d |\n", Median(removal), runs);
  printf("| peak working set during a registration | %.0f KiB | %d |\n", Median(peak), runs);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
  delete listeners.Release(listeners.default_result_printer());
  listeners.Append(new FailTheStep);
  char exe[MAX_PATH];
  GetModuleFileNameA(NULL, exe, sizeof exe);
  // This program lives in build/<preset>/tools; Tomavel.exe one folder up.
  std::string tomavel = exe;
  tomavel.resize(tomavel.rfind('\\'));
  tomavel.resize(tomavel.rfind('\\'));
  tomavel += "\\Tomavel.exe";
  if (argc == 3 && std::string(argv[1]) == "demo") {
    screens = argv[2];
    CreateDirectoryA(screens.c_str(), NULL);
    return Demo(tomavel);
  }
  if (argc == 4 && std::string(argv[1]) == "bench") return Bench(tomavel, atoi(argv[2]), argv[3]);
  fputs("usage: drive_tomavel demo OUTDIR | bench RUNS BASELINE.exe\n", stderr);
  return 2;
}
