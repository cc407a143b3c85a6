// Windows' compatibility setting "run this program as an administrator"
// (Properties, Compatibility tab, for the user or for all users). A program
// it elevates is skipped at logon without a word, as one whose manifest asks.
#pragma once

#include <stddef.h>

// 1 when layers, the setting's list of layer names separated by spaces
// (perhaps after flag tokens such as ~), holds RUNASADMIN in any ASCII case.
// Reads only the size bytes given.
int LayersRunAsAdministrator(const char* layers, size_t size);

// 1 when the setting is ticked for the program at path, for the user or for
// all users. Reads the registry only, bounded: a value too long or not a
// string asks for nothing.
int CompatibilityAsksElevation(const char* path);
