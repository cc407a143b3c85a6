// The block that tells the user which other entries start a program at
// logon: after a registration (the program would start twice) and after a
// removal (it still starts).
#pragma once

#include <windows.h>

#include "base/growing_text.h"

// Where none is found, adds nothing and returns 0. Else adds a blank line,
// leadIn, and a line for each entry that starts program at logon (the
// shortcut at except left out; null: none), in the order of the places: five
// at the most, then one that counts the rest. An entry that starts it with
// other arguments than arguments says them. Returns how many there are. COM
// must be initialised.
int AddOtherEntries(GrowingText* text, const char* leadIn, const char* program, const WCHAR* arguments,
                    const char* except);
