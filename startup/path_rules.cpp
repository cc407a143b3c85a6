#include "startup/path_rules.h"

#include <windows.h>

#include "base/limits.h"
#include "base/path_text.h"
#include "base/text.h"

// A dot is never part of a double-byte character and the byte after it always
// starts a character, so ".lnk" may be looked for byte by byte.
static int IsLnkAt(const char* p) {
  return p[0] == '.' && AsciiUpper(p[1]) == 'L' && AsciiUpper(p[2]) == 'N' && AsciiUpper(p[3]) == 'K';
}

int EndsWithLnk(const char* path) {
  size_t length = static_cast<size_t>(lstrlenA(path));
  return length >= 4 && IsLnkAt(path + length - 4);
}

int ComposeShortcutPath(char* path, size_t size, const char* title) {
  size_t limit = size < static_cast<size_t>(kPathSize) ? size : static_cast<size_t>(kPathSize);
  int fits = AppendToFolder(path, limit, title);
  if (fits && !EndsWithLnk(title)) fits = AppendText(path, limit, ".lnk");
  if (!fits && size > 0) path[0] = '\0';
  return fits;
}

int DisplayStem(const char* path, char* out, size_t size) {
  if (size == 0) return 0;
  out[0] = '\0';
  size_t capacity = size < static_cast<size_t>(kPathSize) ? size : static_cast<size_t>(kPathSize);
  if (lstrlenA(path) >= kPathSize || !CopyText(out, capacity, FileNamePart(path))) {
    out[0] = '\0';
    return 0;
  }
  if (EndsWithLnk(out)) out[lstrlenA(out) - 4] = '\0';
  return 1;
}

int TitleHasForbiddenCharacter(const char* title) {
  static const char kForbidden[] = "\\/:*?\"<>|";
  for (const char* p = title; *p != '\0'; p = CharNextA(p)) {
    for (const char* forbidden = kForbidden; *forbidden != '\0'; ++forbidden) {
      if (*p == *forbidden) return 1;
    }
  }
  return 0;
}

int TitleNamesDevice(const char* title) {
  static const char kDevices[][8] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  // Neither a dot nor a space is ever the second byte of a double-byte
  // character, and a name holding a lead byte matches no device: bytes will do.
  size_t length = 0;
  while (title[length] != '\0' && title[length] != '.') ++length;
  while (length > 0 && title[length - 1] == ' ') --length;
  size_t device = 0;
  while (device < ARRAYSIZE(kDevices) && !IsAsciiWord(title, length, kDevices[device])) ++device;
  if (device < ARRAYSIZE(kDevices)) return 1;
  int numbered = length == 4 && title[3] >= '0' && title[3] <= '9';
  return numbered && (IsAsciiWord(title, 3, "COM") || IsAsciiWord(title, 3, "LPT"));
}
