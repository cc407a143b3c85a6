// The machine a program file is built for, from its PE header.
#pragma once

#include <windows.h>

// The machine field of the PE header of the file at path
// (IMAGE_FILE_MACHINE_I386, _AMD64, _ARM64 ...), or 0 where the file cannot
// be read or is no PE file. Reads the headers only, as data: 64 bytes of
// the DOS header, then 6 where it says the PE header is.
WORD ProgramMachine(const char* path);
