#include "flows/also_started.h"

#include <windows.h>

#include "startup/other_entries.h"

static const char kAlsoStart[] = "なお、このプログラムは「";
static const char kAlsoMiddle[] = "」（";
static const char kAlsoEnd[] = "）でも、ログインしたときに起動するよう登録されています。";
// By EntryPlace.
static const char* const kPlaces[] = {"このユーザーのスタートアップ フォルダー", "すべてのユーザーのスタートアップ フォルダー",
                                      "このユーザーのレジストリ", "すべてのユーザーのレジストリ"};
// Lines told at the most: a program entered this often is told enough.
const int kMostLines = 64;

int AddAlsoStartedLines(GrowingText* text, const char* program, const char* except) {
  HANDLE heap = GetProcessHeap();
  OtherEntry* entries = static_cast<OtherEntry*>(HeapAlloc(heap, 0, kMostLines * sizeof(OtherEntry)));
  int count = entries != NULL && program[0] != '\0' ? FindOtherEntries(program, except, entries, kMostLines) : 0;
  for (int i = 0; i < count; ++i) {
    AddText(text, "\n\n");
    AddText(text, kAlsoStart);
    AddText(text, entries[i].name);
    AddText(text, kAlsoMiddle);
    AddText(text, kPlaces[entries[i].place]);
    AddText(text, kAlsoEnd);
  }
  if (entries != NULL) HeapFree(heap, 0, entries);
  return count;
}
