// Writes one shell shortcut through the shell's own link object.
#pragma once

#include <windows.h>

// Saves a shortcut at shortcutPath (replacing any file there) that starts
// targetPath in workingDirectory with arguments, in a normal window, with no
// comment and no icon of its own. A setter that fails is the result, and
// nothing is saved. COM must be initialised on the calling thread, and the
// system DLLs bound (BindSystemDlls).
// Returns the HRESULT of the failing step or of the save. A shortcutPath
// whose UTF-16 form does not fit the platform's path limit is refused with
// HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE) rather than cut short,
// because a cut path names a different file.
HRESULT CreateStartupShortcut(const char* shortcutPath, const char* targetPath, const char* workingDirectory,
                              const char* arguments);
