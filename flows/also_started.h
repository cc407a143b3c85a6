// The lines that tell the user which other entries start a program at logon:
// after a registration (the program would start twice) and after a removal
// (it still starts).
#pragma once

// text, then a line for each other entry that starts program at logon (the
// shortcut at except left out; null: none), each after a blank line. On the
// process heap (HeapFree), sized for the lines found; null where memory is
// short. *found is how many lines were added. COM must be initialised.
char* WithAlsoStartedLines(const char* text, const char* program, const char* except, int* found);
