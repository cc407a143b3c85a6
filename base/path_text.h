// Generic text rules for paths in the ANSI code page: a backslash is a
// separator only as a whole character, never as the second byte of a
// double-byte character (表 is 0x95 0x5C in code page 932).
#pragma once

#include <stddef.h>
#include <windows.h>

// Writes into out (size bytes) the folder of path: everything before its last
// backslash, so C:\Tools\app.exe gives C:\Tools; a drive's root keeps its
// backslash, so C:\app.exe gives C:\ (C: alone would mean the current folder
// of drive C). No backslash gives the empty string. Returns 1, or 0 (out empty) if the part would not
// fit in out.
int DirectoryPart(const char* path, char* out, size_t size);

// The file-name part of path: what follows its last backslash, or the whole
// path where it has none. Empty for a path that ends in a backslash.
const char* FileNamePart(const char* path);

// Appends name to the folder in path (size bytes), one backslash between:
// none is added where the folder ends in one already (a drive's root, C:\).
// Returns 1, or 0 where it does not fit (path then holds a cut text).
int AppendToFolder(char* path, size_t size, const char* name);

// The same for a UTF-16 path of size units, whose names the code page need
// not hold. Returns 1, or 0 (path as it was) where it does not fit.
int AppendToFolderW(WCHAR* path, int size, const WCHAR* name);

// Where path lies inside folder (a whole folder, its name in any ASCII case,
// each double-byte character as it is): the rest of path, from the backslash
// after folder on. NULL when path is not inside folder.
const char* PathBelowFolder(const char* path, const char* folder);

// 1 when the file name of path (after its last backslash) holds word, an
// ASCII word in upper case, in any ASCII case, starting at a character of its
// own (never at the second byte of a double-byte character: ア is 0x83 0x41).
int FileNameHolds(const char* path, const char* word);
