#include "startup/compatibility_layers.h"

#include <windows.h>

#include "base/text.h"

static const char kLayersKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
// The value is a few layer names, each a word (WIN8RTM, HIGHDPIAWARE,
// RUNASADMIN), and a flag token or two: this holds dozens of them.
const DWORD kLayersSize = 512;

int LayerRequests(const char* layers, size_t size) {
  int requests = 0;
  size_t start = 0;
  for (size_t at = 0; at <= size; ++at) {
    int last = at == size || layers[at] == '\0';
    if (!last && layers[at] != ' ') continue;
    if (IsAsciiWord(layers + start, at - start, "RUNASADMIN")) requests |= kLayerRunAsAdministrator;
    if (IsAsciiWord(layers + start, at - start, "RUNASINVOKER")) requests |= kLayerRunAsInvoker;
    if (last) break;
    start = at + 1;
  }
  return requests;
}

// The requests of the value named path under the key of root, in the view
// that access names.
static int ReadLayers(HKEY root, REGSAM access, const char* path) {
  HKEY key = NULL;
  char layers[kLayersSize];
  DWORD type = 0;
  DWORD size = sizeof layers;
  int requests = 0;
  if (RegOpenKeyExA(root, kLayersKey, 0, KEY_QUERY_VALUE | access, &key) == ERROR_SUCCESS) {
    if (RegQueryValueExA(key, path, NULL, &type, reinterpret_cast<BYTE*>(layers), &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
      requests = LayerRequests(layers, size);
    }
    RegCloseKey(key);
  }
  return requests;
}

int CompatibilityLayers(const char* path) {
  // All users' setting sits where Windows keeps it, in the 64-bit view; the
  // 32-bit program's own view of the machine is another key. HKCU\Software
  // is one key for both views.
  return ReadLayers(HKEY_CURRENT_USER, 0, path) | ReadLayers(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, path);
}
