#include "base/error_mode.h"

#include <windows.h>

void SilenceCriticalErrors() { SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX); }
