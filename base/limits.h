// The sizes every floor of the program shares, and the choice of Startup
// folder that the flows hand down to the folder lookup.
#pragma once

#include <windows.h>
#include <shlobj.h>

const int kPathSize = 260;   // path text: 259 bytes and the terminator
const int kFieldSize = 200;  // title and arguments: 199 bytes and the terminator

// Which Startup folder is meant. The value is the shell's own special-folder
// id, so it can be handed to the shell unchanged.
typedef LONG StartupScope;
static_assert(sizeof(StartupScope) == 4, "a 32-bit integer in both builds");
const StartupScope kScopeUser = CSIDL_STARTUP;
const StartupScope kScopeAllUsers = CSIDL_COMMON_STARTUP;
