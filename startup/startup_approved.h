// Whether Windows has switched a Startup-folder entry off. Task Manager (and
// Settings > Apps > Startup) does it by the shortcut's file name, in a value
// that outlives the shortcut: the same name registered again stays off.
#pragma once

#include "base/limits.h"

// 1 when the entry named fileName (名前.lnk) of scope's folder is switched
// off: a binary value of that name under StartupApproved\StartupFolder,
// per-user or per-machine, whose first byte is odd. No value, or one that
// cannot be read, means on. Reads only; writes nothing.
int SwitchedOffInWindows(StartupScope scope, const char* fileName);
