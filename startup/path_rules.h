// The rules for a shortcut's name: the path a title gives in the Startup
// folder, the name a removal shows, the titles Windows cannot save. Paths are
// ANSI strings in the system code page (see base/path_text.h).
#pragma once

#include <stddef.h>

// path holds the Startup folder on entry. Appends a backslash (none after a
// drive's root, which has its own) and title, and
// ".lnk" unless title already ends with ".lnk" in any ASCII case: the shell
// starts a Startup entry by its extension, so every shortcut's name must end
// so (a.LNK.b gives a.LNK.b.lnk). Returns 1 on
// success. If the result would not fit in size bytes or would exceed the
// platform's 259-byte path limit, returns 0 and leaves path empty: a path cut
// short would name a different file than the user typed, so the caller must
// refuse instead.
int ComposeShortcutPath(char* path, size_t size, const char* title);

// 1 when path ends in ".lnk" in any ASCII case: a shortcut file.
int EndsWithLnk(const char* path);

// The name of the file at path as a title, the rule of ComposeShortcutPath
// turned round: without ".lnk" where it ends so, in any ASCII case, else
// whole. 表示.lnk gives 表示, a.LNK.b.lnk gives a.LNK.b, a.txt stays a.txt and
// .lnk gives the empty string. Returns 1, or 0 (out empty) if path or the
// name does not fit the platform's path limit.
int DisplayStem(const char* path, char* out, size_t size);

// 1 when title holds, as a character of its own, one of the nine that Windows
// forbids in file names: \ / : * ? " < > | (never as the second byte of a
// double-byte character: 表 and ソ end in the byte of \, ポ in that of |). The
// first three would name a file outside the Startup folder itself, where the
// shell never looks at logon, or an alternate stream; the others make the
// save fail.
int TitleHasForbiddenCharacter(const char* title);

// 1 when title names a device: its name up to the first dot, without trailing
// spaces, is CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-COM9 or LPT0-LPT9 in
// any case (nul, Com1, aux.txt, "CON ", lpt9.lnk). A shortcut saved under
// such a name goes to the device and no file is written. Names that only
// begin or end like one (NULL, COM10, xNUL) are ordinary names.
int TitleNamesDevice(const char* title);
