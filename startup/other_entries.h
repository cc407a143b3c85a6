// Where else a program is started at logon, each place read as Windows reads
// it: the shortcuts of the two Startup folders and the Run values of the
// registry, an entry left out where Task Manager switched it off. Only reads.
#pragma once

#include <windows.h>

#include "base/limits.h"

// The places, in the order they are told.
enum EntryPlace { kUserStartupFolder, kAllUsersStartupFolder, kUserRegistry, kAllUsersRegistry };

// The longest arguments shown beside an entry, in UTF-16 units.
const int kShownArgumentUnits = 100;

struct OtherEntry {
  // The shortcut's file name without .lnk, or the Run value's name, as shown:
  // with the code page's default character for what it cannot hold.
  char name[4 * kPathSize + 8];
  EntryPlace place;
  int otherArguments;    // 1 where it starts the program with other arguments
  char arguments[4 * kShownArgumentUnits + 8];  // those, as shown (empty: none)
};

// Writes into entries (room for most) each enabled entry that starts program,
// the shortcut at except (null: none) left out, in the order of the places;
// returns how many there are, those past most included. Two programs are
// the same file when their names are, as Windows compares them. An entry's
// arguments are other than arguments where they differ, blanks at both ends
// aside. An entry is counted whatever its name; one whose program the code
// page cannot hold exactly is not the program. No file on a network drive,
// a UNC path or a removable drive is touched unless it names the program by
// name. COM must be initialised and the system DLLs bound.
int FindOtherEntries(const char* program, const WCHAR* arguments, const char* except, OtherEntry* entries, int most);

// The program a Run value's command line starts, as Windows reads one:
// variables expanded, those of the 64-bit Explorer that runs Run values; a
// quoted start is the program; otherwise the shortest start ending before a
// space that names a file ("C:\Program Files\x\y.exe /a" gives y.exe);
// ".exe" added where the name has no extension, as CreateProcess adds it. A
// bare name, which Windows looks for along its search path, is not taken.
// The disk is asked about a start only where it names sought (null: any) by
// name or lies on a local fixed drive. Returns 1 with the program in program
// (size bytes) and the rest of the line after it (after the closing quote or
// the program's name), expanded, in arguments (argumentsSize units, cut
// there).
int RunCommandProgram(const WCHAR* command, const char* sought, char* program, int size, WCHAR* arguments,
                      int argumentsSize);
