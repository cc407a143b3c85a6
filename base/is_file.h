// Whether a path names a file, not a folder.
#pragma once

// 1 when path names a file that is there; 0 for a folder or nothing.
int IsFile(const char* path);
