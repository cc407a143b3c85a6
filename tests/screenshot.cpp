#include "tests/screenshot.h"

bool SaveWindowBitmap(HWND window, const char* path) {
  RECT r;
  GetWindowRect(window, &r);
  int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(NULL);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info;
  ZeroMemory(&info, sizeof info);
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = NULL;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();

  DWORD stride = ((width * 3 + 3) / 4) * 4;
  DWORD imageSize = stride * height;
  BITMAPFILEHEADER file;
  ZeroMemory(&file, sizeof file);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + imageSize;
  HANDLE out = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  bool saved = false;
  if (out != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    saved = WriteFile(out, &file, sizeof file, &written, NULL) &&
            WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, NULL) &&
            WriteFile(out, bits, imageSize, &written, NULL);
    CloseHandle(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(NULL, screen);
  return saved;
}

