// A message of several parts, each of any length, built on the process heap:
// it grows as parts are added, so no part is ever cut and no size is summed
// by hand.
#pragma once

#include <stddef.h>

struct GrowingText {
  char* text;     // zero-terminated; null before the first part, and once memory ran short
  size_t length;  // bytes before the terminator
  size_t size;    // bytes the heap block holds
  int failed;     // 1 once memory ran short: every later part is dropped too
};

// An empty text, nothing allocated yet.
GrowingText NewText();

// Appends part, whole. Where memory runs short the text is given up (freed,
// null), never left cut.
void AddText(GrowingText* text, const char* part);

// The built text, or fallback where memory ran short or nothing was added.
const char* TextOr(const GrowingText& text, const char* fallback);

// Gives the heap block back; the text is empty again.
void FreeText(GrowingText* text);
