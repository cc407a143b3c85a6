// Whether two paths name the same file or folder, compared as Windows
// compares names: case aside, as the file system folds it (ordinal, whatever
// the user's language), and a short (8.3) form the same as its long one.
// Names come before disks: only a name that may be a short form on a local
// fixed drive is looked up, so no comparison ever waits for a network, or
// asks for a disc or a card that is not in.
#pragma once

#include <windows.h>

// 1 when the length units of a and those of b are the same name, case aside.
int SameNames(const WCHAR* a, int aLength, const WCHAR* b, int bLength);

// 1 when path (full) may hold a short (8.3) name that the disk would make
// long: it holds a ~ and lies on a local fixed drive.
int MayHoldShortName(const WCHAR* path);

// The long form of path in out (size units): made full (. and .. resolved,
// by its text alone), then, where it may hold a short name, every 8.3 name
// made long. A path that is not there keeps its full form; one that does not
// fit is copied as it is, or cut.
void LongForm(const WCHAR* path, WCHAR* out, int size);

// 1 when a and b (UTF-16) name the same file or folder.
int SameFileW(const WCHAR* a, const WCHAR* b);

// The same for two paths in the process's code page; 0 where either holds a
// byte sequence the code page does not.
int SameFile(const char* a, const char* b);
