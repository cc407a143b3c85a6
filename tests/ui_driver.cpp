#include "tests/ui_driver.h"

#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "base/run_time_binding.h"
#include "res/resource.h"
#include "tests/screenshot.h"
#include "tests/test_support.h"

using testing_support::Utf8;

namespace ui {

DWORD Scaled(DWORD ms) {
  static const DWORD scale = [] {
    char text[16] = "";
    GetEnvironmentVariableA("TOMAVEL_WAIT_SCALE", text, sizeof text);
    int factor = atoi(text);
    return factor > 0 ? static_cast<DWORD>(factor) : 1u;
  }();
  return ms * scale;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD ms, DWORD pollMs) {
  ms = Scaled(ms);
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > ms) return false;
    Sleep(pollMs);
  }
}

static bool OfThisProcess(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  return pid == GetCurrentProcessId();
}

// Another process's windows are looked at every millisecond: the benchmark
// times them, and the checks are cheap calls that send the window nothing.
static DWORD PollMs(bool ofThisProcess) { return ofThisProcess ? 20 : 1; }

// Named, not a lambda: the 32-bit callback convention is stdcall.
static BOOL CALLBACK CollectVisible(HWND w, LPARAM found) {
  if (OfThisProcess(w) && IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(w);
  return TRUE;
}

std::vector<HWND> VisibleWindows() {
  std::vector<HWND> found;
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string Text(HWND window) {
  char buffer[2048] = "\x7f<sentinel>";
  // WM_GETTEXT reaches a window of another thread; GetWindowText would not.
  // Bounded, in case that thread has stopped pumping messages.
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                           Scaled(2000), &copied))
    return "<no answer>";
  return buffer;
}

std::string AccessibleName(HWND window) {
  // Bound at run time: MinGW's oleacc and uuid libraries both define the
  // interface id.
  HRESULT(WINAPI * fromWindow)(HWND, DWORD, REFIID, void**) = NULL;
  if (!BindFunction(LoadSystemDll("oleacc.dll"), "AccessibleObjectFromWindow", &fromWindow)) return "<no oleacc>";
  HRESULT init = CoInitialize(NULL);
  IAccessible* object = NULL;
  BSTR name = NULL;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  std::string heard = "<no object>";
  if (SUCCEEDED(fromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&object)))) {
    heard = object->get_accName(self, &name) == S_OK && name ? testing_support::Narrow(name) : "<no name>";
    object->Release();
  }
  SysFreeString(name);
  if (SUCCEEDED(init)) CoUninitialize();
  return heard;
}

std::string ControlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control ? Text(control) : std::string("<no control>");
}

static bool IsDialog(HWND w) {
  char cls[64] = "";
  GetClassNameA(w, cls, sizeof cls);
  return lstrcmpA(cls, "#32770") == 0;
}

HWND WaitForDialog(const char* caption, int controlId, DWORD ms, WindowsOf whose) {
  HWND found = NULL;
  WaitUntil(
      [&] {
        HWND w = NULL;
        while ((w = FindWindowExA(NULL, w, "#32770", caption)) != NULL) {
          if (OfThisProcess(w) == (whose == kThisProcess) && IsWindowVisible(w) && IsWindowEnabled(w) &&
              GetDlgItem(w, controlId)) {
            found = w;
            return true;
          }
        }
        return false;
      },
      ms, PollMs(whose == kThisProcess));
  if (!found)
    ADD_FAILURE() << "no dialog \"" << Utf8(caption) << "\" with control " << controlId << " within " << Scaled(ms)
                  << " ms";
  return found;
}

HWND WaitForChooser(const char* caption, DWORD ms) { return WaitForDialog(caption, IDOK, ms); }

bool WaitForClosed(HWND window, DWORD ms) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, ms, PollMs(OfThisProcess(window)));
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info;
  ZeroMemory(&info, sizeof info);
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info);
  return info.hwndFocus;
}

void Click(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  EXPECT_NE(button, (HWND)NULL) << "no button " << id;
  // Posted: a click that opens a modal window must not block the driver.
  PostMessageA(button, BM_CLICK, 0, 0);
}

void Type(HWND dialog, int id, const std::string& text) {
  HWND edit = GetDlgItem(dialog, id);
  EXPECT_NE(edit, (HWND)NULL) << "no edit " << id;
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Type(HWND dialog, int id, const std::wstring& text) {
  SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressKey(HWND window, UINT virtualKey) {
  HWND target = FocusOf(window);
  if (!target) target = window;
  // Through the posted queue, so that the modal loop's dialog handling sees
  // the key exactly as it sees a real key press.
  PostMessageA(target, WM_KEYDOWN, virtualKey, 1);
  PostMessageA(target, WM_KEYUP, virtualKey, 0xC0000001);
}

void CloseBox(HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

static std::string IconName(HWND box) {
  HWND child = NULL;
  while ((child = FindWindowExA(box, child, "Static", NULL)) != NULL) {
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
    HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    if (!icon || !IsWindowVisible(child)) continue;
    if (icon == LoadIconA(NULL, IDI_EXCLAMATION)) return "warning";
    if (icon == LoadIconA(NULL, IDI_QUESTION)) return "question";
    if (icon == LoadIconA(NULL, IDI_ASTERISK)) return "information";
    if (icon == LoadIconA(NULL, IDI_HAND)) return "error";
    return "other";
  }
  return "none";
}

static bool IsMessageBox(HWND w) { return IsDialog(w) && GetDlgItem(w, kMessageBoxText) != NULL; }

bool WaitForMessageBox(const char* caption, MessageBoxSeen* seen, DWORD ms) {
  HWND box = NULL;
  bool ok = WaitUntil(
      [&] {
        std::vector<HWND> windows = VisibleWindows();
        auto found = std::find_if(windows.begin(), windows.end(),
                                  [&](HWND w) { return IsMessageBox(w) && Text(w) == caption; });
        box = found == windows.end() ? NULL : *found;
        return box != NULL;
      },
      ms);
  *seen = MessageBoxSeen();
  if (!ok) return false;
  seen->window = box;
  seen->caption = Text(box);
  seen->text = ControlText(box, kMessageBoxText);
  for (int id = IDOK; id <= IDNO; ++id) {
    HWND b = GetDlgItem(box, id);
    if (b && IsWindowVisible(b)) seen->buttons.push_back(id);
  }
  seen->icon = IconName(box);
  return true;
}

void Answer(const MessageBoxSeen& box, int buttonId) {
  Click(box.window, buttonId);
  // Gone before the caller looks for the next box, which has the same caption.
  EXPECT_TRUE(WaitForClosed(box.window)) << "message box stayed open";
}

void ExpectMessageBox(const char* caption, const std::string& text, const std::vector<int>& buttons,
                      const char* icon, int answer, const char* screenshot, HWND owner) {
  MessageBoxSeen seen;
  if (!WaitForMessageBox(caption, &seen)) {
    ADD_FAILURE() << "no message box \"" << Utf8(caption) << "\" expected with text \"" << Utf8(text) << "\"";
    return;
  }
  EXPECT_EQ(Utf8(text), Utf8(seen.text));
  EXPECT_EQ(buttons, seen.buttons);
  EXPECT_STREQ(icon, seen.icon.c_str());
  if (owner) {
    EXPECT_EQ(owner, GetWindow(seen.window, GW_OWNER)) << "owner of the message box";
  }
  if (screenshot) SaveScreenshot(seen.window, screenshot);
  Answer(seen, answer);
}

std::string ChooserFolder(HWND chooser) {
  char folder[2 * MAX_PATH] = "\x7f<sentinel>";
  SendMessageA(chooser, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
  // A wide chooser answers in UTF-16 however it is asked; no folder's path
  // has a zero as its second byte otherwise.
  if (folder[0] != '\0' && folder[1] == '\0') {
    char narrow[2 * MAX_PATH];
    WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const WCHAR*>(folder), -1, narrow, sizeof narrow, NULL, NULL);
    return narrow;
  }
  return folder;
}

// A combo box (cmb13) in the Explorer-style chooser, an edit (edt1) in the old one.
static HWND FileNameBox(HWND chooser) {
  HWND box = GetDlgItem(chooser, cmb13);
  if (!box) box = GetDlgItem(chooser, edt1);
  EXPECT_NE(box, (HWND)NULL) << "the chooser has no file name box";
  return box;
}

// WM_SETTEXT, not CDM_SETCONTROLTEXT: the platform converts the text for a
// chooser of either kind, where CDM_SETCONTROLTEXT takes it as the chooser's own.
void ChooseFile(HWND chooser, const std::string& path) {
  TypeFileName(chooser, path);
  PostMessageA(chooser, WM_COMMAND, IDOK, 0);
}

void ChooseFile(HWND chooser, const std::wstring& path) {
  SendMessageW(FileNameBox(chooser), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(chooser, WM_COMMAND, IDOK, 0);
}

void TypeFileName(HWND chooser, const std::string& name) {
  SendMessageA(FileNameBox(chooser), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

void CancelChooser(HWND chooser) { PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0); }

// Dismisses what a failed driver left open: message boxes answered No,
// Cancel or OK; choosers cancelled; the title dialog cancelled; the main
// window ended with its exit button.
static BOOL CALLBACK DismissOne(HWND w, LPARAM) {
  if (!IsWindowVisible(w) || !IsWindowEnabled(w)) return TRUE;
  if (IsMessageBox(w)) {
    int id = GetDlgItem(w, IDNO) && IsWindowVisible(GetDlgItem(w, IDNO)) ? IDNO : IDCANCEL;
    if (!(GetDlgItem(w, id) && IsWindowVisible(GetDlgItem(w, id)))) id = IDOK;
    PostMessageA(w, WM_COMMAND, id, 0);
  } else if (GetDlgItem(w, IDC_EXIT)) {
    PostMessageA(w, WM_COMMAND, IDC_EXIT, 0);
  } else if (GetDlgItem(w, IDC_TITLE) && GetDlgItem(w, IDC_TITLE_CANCEL)) {
    PostMessageA(w, WM_COMMAND, IDC_TITLE_CANCEL, 0);
  } else {
    PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
  }
  return TRUE;
}

static void DismissLeftovers(DWORD threadId) { EnumThreadWindows(threadId, DismissOne, 0); }

void RunDriven(const std::function<void()>& modal, const std::function<void()>& driver) {
  std::atomic<bool> modalDone(false);
  std::atomic<bool> driverDone(false);
  DWORD modalThread = GetCurrentThreadId();
  std::thread second([&] {
    driver();
    driverDone = true;
    if (WaitUntil([&] { return modalDone.load(); }, 5000)) return;
    ADD_FAILURE() << "windows were still open after the driver finished; dismissing them";
    bool ended = WaitUntil(
        [&] {
          DismissLeftovers(modalThread);
          Sleep(200);
          return modalDone.load();
        },
        30000);
    if (!ended) {
      fprintf(stderr, "a modal window could not be dismissed; ending the test program\n");
      fflush(stderr);
      ExitProcess(3);
    }
  });
  modal();
  modalDone = true;
  // Keep this thread's windows answering until the driver is done with them.
  while (!driverDone) {
    MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  second.join();
}

static BOOL CALLBACK NotePendingPaint(HWND child, LPARAM pending) {
  if (GetUpdateRect(child, NULL, FALSE)) *reinterpret_cast<bool*>(pending) = true;
  return TRUE;
}

bool WaitUntilDrawn(HWND window, DWORD ms) {
  // A window is painted into memory first and reaches the screen a moment
  // later; a message box can be visible before either. So: no paint pending,
  // the same picture twice in a row, and a message box's text on the screen.
  HWND text = IsMessageBox(window) ? GetDlgItem(window, kMessageBoxText) : NULL;
  std::string last;
  bool drawn = WaitUntil(
      [&] {
        bool pending = GetUpdateRect(window, NULL, FALSE) != FALSE;
        EnumChildWindows(window, NotePendingPaint, reinterpret_cast<LPARAM>(&pending));
        RECT area;
        GetWindowRect(window, &area);
        std::string now = CaptureScreen(area);
        bool steady = !now.empty() && now == last;
        last = now;
        return !pending && steady && (!text || (GetWindowRect(text, &area) && ShowsSomething(area)));
      },
      ms, 100);
  EXPECT_TRUE(drawn) << "the window \"" << Utf8(Text(window)) << "\" was not drawn within " << Scaled(ms) << " ms";
  return drawn;
}

bool SaveScreenshot(HWND window, const char* name) {
  WaitUntilDrawn(window);
  CreateDirectoryA(TOMAVEL_SCREENS_DIR, NULL);
  std::string path = std::string(TOMAVEL_SCREENS_DIR) + "\\" + name + ".bmp";
  return SaveWindowBitmap(window, path.c_str());
}

}  // namespace ui
