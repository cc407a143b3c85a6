#include "flows/also_started.h"

#include <windows.h>

#include "base/text.h"
#include "startup/other_entries.h"

static const char kAlsoStart[] = "なお、このプログラムは「";
static const char kAlsoMiddle[] = "」（";
static const char kAlsoEnd[] = "）でも、ログインしたときに起動するよう登録されています。";
// By EntryPlace, each row as long as the longest (the compiler refuses a
// longer one).
static const char kPlaces[][sizeof "すべてのユーザーのスタートアップ フォルダー"] = {
    "このユーザーのスタートアップ フォルダー", "すべてのユーザーのスタートアップ フォルダー", "このユーザーのレジストリ",
    "すべてのユーザーのレジストリ"};
const size_t kLongestPlace = sizeof kPlaces[0];
// One line with the blank line before it, the longest name and place.
const size_t kLineSize = 2 + sizeof kAlsoStart + kPathSize + sizeof kAlsoMiddle + kLongestPlace + sizeof kAlsoEnd;
// Lines told at the most: a program entered this often is told enough.
const int kMostLines = 64;

char* WithAlsoStartedLines(const char* text, const char* program, const char* except, int* found) {
  HANDLE heap = GetProcessHeap();
  OtherEntry* entries = static_cast<OtherEntry*>(HeapAlloc(heap, 0, kMostLines * sizeof(OtherEntry)));
  int count = entries != NULL && program[0] != '\0' ? FindOtherEntries(program, except, entries, kMostLines) : 0;
  size_t size = static_cast<size_t>(lstrlenA(text)) + 1 + count * kLineSize;
  char* out = static_cast<char*>(HeapAlloc(heap, 0, size));
  *found = 0;
  if (out != NULL) {
    CopyText(out, size, text);
    for (int i = 0; i < count; ++i) {
      AppendText(out, size, "\n\n");
      AppendText(out, size, kAlsoStart);
      AppendText(out, size, entries[i].name);
      AppendText(out, size, kAlsoMiddle);
      AppendText(out, size, kPlaces[entries[i].place]);
      AppendText(out, size, kAlsoEnd);
    }
    *found = count;
  }
  if (entries != NULL) HeapFree(heap, 0, entries);
  return out;
}
