#include "base/path_text.h"

#include <windows.h>

#include "base/text.h"

static const char* FindLastBackslash(const char* path) {
  const char* last = NULL;
  for (const char* p = path; *p != '\0'; p = CharNextA(p)) {
    if (*p == '\\') last = p;
  }
  return last;
}

const char* FileNamePart(const char* path) {
  const char* separator = FindLastBackslash(path);
  return separator != NULL ? separator + 1 : path;
}

int AppendToFolder(char* path, size_t size, const char* name) {
  const char* end = path + lstrlenA(path);
  int endsInSeparator = end != path && FileNamePart(path) == end;
  return (endsInSeparator || AppendText(path, size, "\\")) && AppendText(path, size, name);
}

int AppendToFolderW(WCHAR* path, int size, const WCHAR* name) {
  int length = lstrlenW(path);
  int separator = length > 0 && path[length - 1] != L'\\';
  if (length + separator + lstrlenW(name) >= size) return 0;
  if (separator) path[length++] = L'\\';
  lstrcpynW(path + length, name, size - length);
  return 1;
}

int DirectoryPart(const char* path, char* out, size_t size) {
  if (size == 0) return 0;
  out[0] = '\0';
  const char* separator = FindLastBackslash(path);
  if (separator == NULL) return 1;
  size_t length = static_cast<size_t>(separator - path);
  if (length == 2 && path[1] == ':') length = 3;  // a drive letter is one byte
  if (length >= size) return 0;
  CopyMemory(out, path, length);
  out[length] = '\0';
  return 1;
}

const char* PathBelowFolder(const char* path, const char* folder) {
  const char* p = path;
  for (const char* f = folder; *f != '\0'; f = CharNextA(f)) {
    if (CharNextA(f) - f == 2) {
      // Its second byte may look like an ASCII letter: compared as it is.
      if (p[0] != f[0] || p[1] != f[1]) return NULL;
      p += 2;
    } else if (AsciiUpper(*p++) != AsciiUpper(*f)) {
      return NULL;
    }
  }
  if (p != path && *p == '\\') return p;
  return p != path && p[-1] == '\\' ? p - 1 : NULL;  // a folder given with its backslash
}

int FileNameHolds(const char* path, const char* word) {
  for (const char* p = FileNamePart(path); *p != '\0'; p = CharNextA(p)) {
    size_t i = 0;
    while (word[i] != '\0' && AsciiUpper(p[i]) == word[i]) ++i;
    if (word[i] == '\0') return 1;
  }
  return 0;
}
