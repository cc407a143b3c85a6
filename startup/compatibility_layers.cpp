#include "startup/compatibility_layers.h"

#include <windows.h>

#include "app/text.h"

static const char kLayersKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";

// One token of the list: RUNASADMIN in any ASCII case.
static int IsRunAsAdmin(const char* token, size_t length) {
  static const char kRunAsAdmin[] = "RUNASADMIN";
  if (length != sizeof kRunAsAdmin - 1) return 0;
  for (size_t i = 0; i < length; ++i) {
    if (AsciiUpper(token[i]) != kRunAsAdmin[i]) return 0;
  }
  return 1;
}

int LayersRunAsAdministrator(const char* layers, size_t size) {
  size_t start = 0;
  for (size_t at = 0; at <= size; ++at) {
    int last = at == size || layers[at] == '\0';
    if (!last && layers[at] != ' ') continue;
    if (IsRunAsAdmin(layers + start, at - start)) return 1;
    if (last) return 0;
    start = at + 1;
  }
  return 0;
}

// 1 when the value named path under the key of root (in the view that access
// names) holds RUNASADMIN.
static int LayersAskElevation(HKEY root, REGSAM access, const char* path) {
  HKEY key = NULL;
  char layers[512];  // a few layer names, each a word
  DWORD type = 0;
  DWORD size = sizeof layers;
  int asks = 0;
  if (RegOpenKeyExA(root, kLayersKey, 0, KEY_QUERY_VALUE | access, &key) == ERROR_SUCCESS) {
    asks = RegQueryValueExA(key, path, NULL, &type, reinterpret_cast<BYTE*>(layers), &size) == ERROR_SUCCESS &&
           type == REG_SZ && LayersRunAsAdministrator(layers, size);
    RegCloseKey(key);
  }
  return asks;
}

int CompatibilityAsksElevation(const char* path) {
  // All users' setting sits where Windows keeps it, in the 64-bit view; the
  // 32-bit program's own view of the machine is another key.
  return LayersAskElevation(HKEY_CURRENT_USER, 0, path) || LayersAskElevation(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, path);
}
