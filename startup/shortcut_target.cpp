#include "startup/shortcut_target.h"

#include <shlobj.h>

#include "base/limits.h"
#include "base/system_dlls.h"
#include "base/text.h"
#include "startup/program_files.h"
#include "startup/shell_link_ids.h"

TargetRead ReadShortcutTarget(const char* shortcutPath, char* target, int size, HRESULT* why, WCHAR* arguments,
                              int argumentsSize) {
  WCHAR widePath[kPathSize];
  if (!WidenPath(shortcutPath, widePath, kPathSize)) {
    target[0] = '\0';
    if (arguments != NULL && argumentsSize > 0) arguments[0] = 0;
    if (why != NULL) *why = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    return kShortcutNotRead;
  }
  return ReadShortcutTargetW(widePath, target, size, why, arguments, argumentsSize);
}

TargetRead ReadShortcutTargetW(const WCHAR* shortcutPath, char* target, int size, HRESULT* why, WCHAR* arguments,
                               int argumentsSize) {
  IShellLinkW* link = NULL;
  IPersistFile* file = NULL;
  // Wide: the ANSI interface would hand back a look-alike for a name the
  // code page cannot hold (cafe.exe for café.exe), another program.
  WCHAR wideTarget[MAX_PATH];
  TargetRead result = kTargetRead;
  target[0] = '\0';
  if (arguments != NULL && argumentsSize > 0) arguments[0] = 0;

  HRESULT hr = systemDlls.CoCreateInstance(kShellLinkClass, NULL, CLSCTX_INPROC_SERVER, kShellLinkW,
                                           reinterpret_cast<void**>(&link));
  if (SUCCEEDED(hr)) hr = link->QueryInterface(kPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(hr)) hr = file->Load(shortcutPath, STGM_READ);
  // No flags: the path as the shell starts it, environment variables
  // expanded. S_FALSE: a shortcut to something that is no file.
  if (SUCCEEDED(hr)) hr = link->GetPath(wideTarget, MAX_PATH, NULL, 0);
  if (SUCCEEDED(hr) && arguments != NULL && FAILED(link->GetArguments(arguments, argumentsSize))) arguments[0] = 0;
  if (FAILED(hr)) {
    result = kShortcutNotRead;
    if (why != NULL) *why = hr;
  } else if (hr == S_OK) {
    switch (NarrowExactly(GetACP(), wideTarget, target, size)) {
      case kNarrowedExactly:
        break;
      case kNotExact:
        result = kTargetNotExact;
        break;
      default:
        result = kTargetTooLong;
        break;
    }
  }
  if (result != kTargetRead) target[0] = '\0';

  if (file != NULL) file->Release();
  if (link != NULL) link->Release();
  return result;
}

void ReadStartedProgram(const WCHAR* shortcutPath, char* program, int size, WCHAR* arguments, int argumentsSize) {
  char counterpart[kPathSize];
  if (ReadShortcutTargetW(shortcutPath, program, size, NULL, arguments, argumentsSize) != kTargetRead) program[0] = '\0';
  if (program[0] != '\0' && ProgramFilesCounterpart(program, counterpart, sizeof counterpart)) {
    CopyText(program, static_cast<size_t>(size), counterpart);
  }
}
