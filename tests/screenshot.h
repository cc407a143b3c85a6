// Windows as they are on the screen: saved to 24-bit BMP files, or looked at.
#pragma once

#include <windows.h>

#include <string>

// The pixels of an area of the screen, 24 bits each, in the rows of a BMP.
std::string CaptureScreen(const RECT& area);

bool SaveWindowBitmap(HWND window, const char* path);

// True when the area of the screen shows more than one colour: something is
// drawn there.
bool ShowsSomething(const RECT& area);
