#include "tests/screenshot.h"

// Rows of 24-bit pixels padded to four bytes, bottom row first, as a BMP holds them.
static DWORD Stride(LONG width) { return ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4; }

std::string CaptureScreen(const RECT& area) {
  LONG width = area.right - area.left, height = area.bottom - area.top;
  std::string pixels;
  if (width <= 0 || height <= 0) return pixels;
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
  HGDIOBJ old = bitmap ? SelectObject(memory, bitmap) : NULL;
  if (bitmap && BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY)) {
    GdiFlush();
    pixels.assign(static_cast<const char*>(bits), Stride(width) * height);
  }
  if (bitmap) {
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(NULL, screen);
  return pixels;
}

bool ShowsSomething(const RECT& area) {
  std::string pixels = CaptureScreen(area);
  DWORD row = 3 * static_cast<DWORD>(area.right - area.left);
  for (size_t at = 0; at < pixels.size(); ++at)
    if (at % Stride(area.right - area.left) < row && pixels[at] != pixels[at % 3]) return true;
  return false;
}

bool SaveWindowBitmap(HWND window, const char* path) {
  RECT r;
  GetWindowRect(window, &r);
  std::string pixels = CaptureScreen(r);
  if (pixels.empty()) return false;
  BITMAPINFOHEADER header;
  ZeroMemory(&header, sizeof header);
  header.biSize = sizeof header;
  header.biWidth = r.right - r.left;
  header.biHeight = r.bottom - r.top;
  header.biPlanes = 1;
  header.biBitCount = 24;
  BITMAPFILEHEADER file;
  ZeroMemory(&file, sizeof file);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  HANDLE out = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool saved = WriteFile(out, &file, sizeof file, &written, NULL) && WriteFile(out, &header, sizeof header, &written, NULL) &&
               WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, NULL);
  CloseHandle(out);
  return saved;
}
