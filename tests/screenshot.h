// Saves a window as it is on screen to a 24-bit BMP file.
#pragma once

#include <windows.h>

bool SaveWindowBitmap(HWND window, const char* path);
