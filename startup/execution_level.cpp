#include "startup/execution_level.h"

#include <string.h>
#include <windows.h>

// The first place of needle in [from, end), or NULL: the manifest is anyone's
// bytes, with no terminator to rely on.
static const char* FindIn(const char* from, const char* end, const char* needle) {
  size_t length = strlen(needle);
  for (const char* p = from; p + length <= end; ++p) {
    if (memcmp(p, needle, length) == 0) return p;
  }
  return NULL;
}

static int IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

static int ValueIs(const char* value, const char* end, const char* expected) {
  size_t length = strlen(expected);
  return static_cast<size_t>(end - value) == length && memcmp(value, expected, length) == 0;
}

ExecutionLevel ManifestExecutionLevel(const char* text, size_t size) {
  const char* end = text + size;
  const char* element = FindIn(text, end, "requestedExecutionLevel");
  if (element == NULL) return kAsInvoker;
  const char* elementEnd = FindIn(element, end, ">");
  if (elementEnd == NULL) return kAsInvoker;
  // The attribute "level" (the element's own name holds "Level"), then = and
  // a quoted value, each perhaps with spaces between.
  for (const char* p = FindIn(element, elementEnd, "level"); p != NULL; p = FindIn(p + 1, elementEnd, "level")) {
    if (!IsSpace(p[-1])) continue;
    const char* q = p + 5;
    while (q < elementEnd && IsSpace(*q)) ++q;
    if (q == elementEnd || *q++ != '=') continue;
    while (q < elementEnd && IsSpace(*q)) ++q;
    if (q == elementEnd || (*q != '"' && *q != '\'')) continue;
    const char* valueEnd = static_cast<const char*>(memchr(q + 1, *q, static_cast<size_t>(elementEnd - q - 1)));
    if (valueEnd == NULL) return kAsInvoker;
    if (ValueIs(q + 1, valueEnd, "requireAdministrator")) return kRequireAdministrator;
    if (ValueIs(q + 1, valueEnd, "highestAvailable")) return kHighestAvailable;
    return kAsInvoker;
  }
  return kAsInvoker;
}

// An administrator under UAC holds a limited token at logon, or a full one
// when elevated; a standard user's token (and any with UAC off, or before
// Vista, where the query fails) is of the default type.
static int AdministratorUnderUac() {
  HANDLE token = NULL;
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    if (!GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size)) type = TokenElevationTypeDefault;
    CloseHandle(token);
  }
  return type == TokenElevationTypeLimited || type == TokenElevationTypeFull;
}

int AsksToRunAsAdministrator(const char* path) {
  ExecutionLevel level = kAsInvoker;
  HMODULE module = LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
  if (module == NULL) return 0;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
  const char* text = loaded ? static_cast<const char*>(LockResource(loaded)) : NULL;
  if (text != NULL) level = ManifestExecutionLevel(text, SizeofResource(module, found));
  FreeLibrary(module);
  return level == kRequireAdministrator || (level == kHighestAvailable && AdministratorUnderUac());
}
