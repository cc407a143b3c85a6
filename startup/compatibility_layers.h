// Windows' compatibility settings for a program (Properties, Compatibility
// tab, for the user or for all users, or an administrator's own entry): the
// layers that decide whether Windows elevates it.
#pragma once

#include <stddef.h>

// What a program's layers ask, as bits.
enum LayerRequest {
  kLayerRunAsAdministrator = 1,  // RUNASADMIN: "run this program as an administrator"
  kLayerRunAsInvoker = 2,        // RUNASINVOKER: never elevate it
};

// The LayerRequest bits of layers, the setting's list of layer names
// separated by spaces (perhaps after flag tokens such as ~), each a whole
// name in any ASCII case. Reads only the size bytes given.
int LayerRequests(const char* layers, size_t size);

// The LayerRequest bits of the layers for the program at path, for the user
// and for all users together. Reads the registry only, bounded: a value too
// long or not a string asks for nothing.
int CompatibilityLayers(const char* path);
