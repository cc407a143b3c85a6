// Who may change a file or a folder, read from its security as Windows
// would judge it. Only reads.
#pragma once

#include <windows.h>

// The rights that let someone change what a program runs: the file itself
// (its bytes, its name, its permissions or its owner), and the folder that
// holds it (a new file beside it, or one the program loads; a file taken
// away; the folder's permissions or owner).
const DWORD kChangeFileRights = FILE_WRITE_DATA | DELETE | WRITE_DAC | WRITE_OWNER;
const DWORD kChangeFolderRights = FILE_ADD_FILE | FILE_DELETE_CHILD | WRITE_DAC | WRITE_OWNER;

// 1 when the DACL of descriptor grants any of rights to a user who is not an
// administrator, as AccessCheck would for a token that holds only Everyone,
// Authenticated Users, Users and INTERACTIVE: the ACEs in order, inherit-only
// ones skipped, generic rights mapped as for files, a right denied by an
// earlier ACE never granted by a later one. A missing (null) DACL grants
// everything.
int StandardUsersGet(PSECURITY_DESCRIPTOR descriptor, DWORD rights);

// 1 when such a user can change the program at path or the folder that
// holds it; 0 also where either's security cannot be read.
int StandardUsersCanChange(const char* path);

// Whether this process may create a file in folder: 1 it may, 0 it may not,
// -1 where that cannot be told (its security cannot be read).
int MayCreateFileIn(const char* folder);
