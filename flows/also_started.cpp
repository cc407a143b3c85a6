#include "flows/also_started.h"

#include "startup/other_entries.h"

// By EntryPlace: the words of the program's own fixed texts. Each row as
// long as the longest (the compiler refuses a longer one).
static const char kPlaces[][sizeof "すべてのユーザーのスタートアップフォルダ"] = {"ログインユーザーのスタートアップフォルダ", "すべてのユーザーのスタートアップフォルダ",
                                      "ログインユーザーのレジストリ（Run）", "すべてのユーザーのレジストリ（Run）"};
// A message box cannot scroll: a few lines, then how many more.
const int kMostLines = 5;

int AddOtherEntries(GrowingText* text, const char* leadIn, const char* program, const WCHAR* arguments,
                    const char* except) {
  OtherEntry entries[kMostLines];
  int count = program[0] != '\0' ? FindOtherEntries(program, arguments, except, entries, kMostLines) : 0;
  if (count == 0) return 0;
  AddText(text, "\n\n");
  AddText(text, leadIn);
  for (int i = 0; i < count && i < kMostLines; ++i) {
    const OtherEntry& entry = entries[i];
    AddText(text, "\n・「");
    AddText(text, entry.name);
    AddText(text, "」（");
    AddText(text, kPlaces[entry.place]);
    if (entry.otherArguments && entry.arguments[0] != '\0') {
      AddText(text, "、引数「");
      AddText(text, entry.arguments);
      AddText(text, "」");
    } else if (entry.otherArguments) {
      AddText(text, "、引数なし");
    }
    AddText(text, "）");
  }
  if (count > kMostLines) {
    char rest[32];
    wsprintfA(rest, "\n・ほか %d 件", count - kMostLines);
    AddText(text, rest);
  }
  return count;
}
