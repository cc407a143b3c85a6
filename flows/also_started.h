// The lines that tell the user which other entries start a program at logon:
// after a registration (the program would start twice) and after a removal
// (it still starts).
#pragma once

#include "base/growing_text.h"

// Adds to text a line for each other entry that starts program at logon (the
// shortcut at except left out; null: none), each after a blank line. Returns
// how many were found. COM must be initialised.
int AddAlsoStartedLines(GrowingText* text, const char* program, const char* except);
