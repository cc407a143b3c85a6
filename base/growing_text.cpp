#include "base/growing_text.h"

#include <windows.h>

GrowingText NewText() {
  GrowingText text = {NULL, 0, 0, 0};
  return text;
}

void AddText(GrowingText* text, const char* part) {
  if (text->failed) return;
  size_t added = static_cast<size_t>(lstrlenA(part));
  size_t needed = text->length + added + 1;
  if (needed > text->size) {
    // Doubling keeps a message of many parts to a few allocations.
    size_t size = text->size * 2 > needed ? text->size * 2 : needed;
    HANDLE heap = GetProcessHeap();
    void* grown = text->text == NULL ? HeapAlloc(heap, 0, size) : HeapReAlloc(heap, 0, text->text, size);
    if (grown == NULL) {
      FreeText(text);
      text->failed = 1;
      return;
    }
    text->text = static_cast<char*>(grown);
    text->size = size;
  }
  CopyMemory(text->text + text->length, part, added + 1);
  text->length += added;
}

const char* TextOr(const GrowingText& text, const char* fallback) { return text.text != NULL ? text.text : fallback; }

void FreeText(GrowingText* text) {
  if (text->text != NULL) HeapFree(GetProcessHeap(), 0, text->text);
  text->text = NULL;
  text->length = text->size = 0;
}
