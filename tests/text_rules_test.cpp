// Path and name rules, and the bounded text helpers, on code page 932 text.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include <cderr.h>

#include "base/path_text.h"
#include "base/text.h"
#include "flows/file_chooser.h"
#include "startup/compatibility_layers.h"
#include "startup/path_rules.h"
#include "tests/test_support.h"

using testing_support::Utf8;

namespace {

const char kSentinel = '\x7f';

std::string Directory(const std::string& path) {
  char out[260];
  memset(out, kSentinel, sizeof out);
  EXPECT_EQ(1, DirectoryPart(path.c_str(), out, sizeof out));
  return out;
}

std::string Compose(const std::string& folder, const std::string& title, int* result = nullptr) {
  char path[260];
  memset(path, kSentinel, sizeof path);
  lstrcpynA(path, folder.c_str(), sizeof path);
  int r = ComposeShortcutPath(path, sizeof path, title.c_str());
  if (result) *result = r;
  return path;
}

std::string Stem(const std::string& path) {
  char out[260];
  memset(out, kSentinel, sizeof out);
  EXPECT_EQ(1, DisplayStem(path.c_str(), out, sizeof out));
  return out;
}

TEST(Environment, AnsiCodePageIs932) { ASSERT_EQ(932u, GetACP()) << "the prefix must run with LANG=ja_JP.UTF-8"; }

TEST(DirectoryPart, SplitsOnTheLastRealSeparator) {
  EXPECT_EQ("C:\\Tools", Directory("C:\\Tools\\app.exe"));
  EXPECT_EQ("C:\\", Directory("C:\\app.exe")) << "a drive's root, not the current folder of the drive";
  EXPECT_EQ("", Directory("app.exe"));
  EXPECT_EQ("", Directory(""));
  EXPECT_EQ("\\\\server\\share", Directory("\\\\server\\share\\x.exe"));
  // 表 is 0x95 0x5C: its second byte is not a separator.
  EXPECT_EQ(Utf8("C:\\Tools"), Utf8(Directory("C:\\Tools\\表.exe")));
  EXPECT_EQ(Utf8("C:\\表"), Utf8(Directory("C:\\表\\a.exe")));
  EXPECT_EQ(Utf8("C:\\表\\ソ"), Utf8(Directory("C:\\表\\ソ\\予.exe")));
  EXPECT_EQ("", Directory("表.exe"));
}

TEST(DirectoryPart, RefusesAnOutputTooSmall) {
  char out[4];
  memset(out, kSentinel, sizeof out);
  EXPECT_EQ(0, DirectoryPart("C:\\Tools\\a.exe", out, sizeof out));
  EXPECT_STREQ("", out);
}

TEST(ComposeShortcutPath, AddsTheExtensionUnlessTheTitleEndsWithIt) {
  EXPECT_EQ("C:\\S\\Mail.lnk", Compose("C:\\S", "Mail"));
  EXPECT_EQ("C:\\S\\Mail.LNK", Compose("C:\\S", "Mail.LNK"));
  EXPECT_EQ("C:\\S\\a.lnk.b.lnk", Compose("C:\\S", "a.lnk.b"));
  EXPECT_EQ("C:\\S\\a.LnK.b.lnk", Compose("C:\\S", "a.LnK.b"));
  EXPECT_EQ("C:\\S\\.lnk", Compose("C:\\S", ".lnk"));
  EXPECT_EQ("C:\\S\\x.lnkfile.lnk", Compose("C:\\S", "x.lnkfile"));
  EXPECT_EQ("C:\\S\\lnk.lnk", Compose("C:\\S", "lnk"));
  EXPECT_EQ("C:\\S\\a. lnk.lnk", Compose("C:\\S", "a. lnk"));
  EXPECT_EQ(Utf8("C:\\S\\メール.lnk"), Utf8(Compose("C:\\S", "メール")));
  // A drive's root keeps its one backslash; 表 ends in the byte of one.
  EXPECT_EQ("C:\\Mail.lnk", Compose("C:\\", "Mail"));
  EXPECT_EQ(Utf8("C:\\表\\Mail.lnk"), Utf8(Compose("C:\\表", "Mail")));
  // Title kept as typed: no trimming, no check of characters.
  EXPECT_EQ("C:\\S\\ a?b .lnk", Compose("C:\\S", " a?b "));
}

TEST(ComposeShortcutPath, ReportsAPathOverTheLimitInsteadOfCuttingIt) {
  std::string folder = "C:\\" + std::string(241, 'f');
  int result = -1;
  // 244 + 1 + 10 + 4 = 259 bytes: the longest path that fits.
  std::string fits = Compose(folder, std::string(10, 't'), &result);
  EXPECT_EQ(1, result);
  EXPECT_EQ(259u, fits.size());
  std::string over = Compose(folder, std::string(11, 't'), &result);
  EXPECT_EQ(0, result);
  EXPECT_EQ("", over);
  // The extension alone pushing it over counts too.
  Compose(folder, std::string(12, 't'), &result);
  EXPECT_EQ(0, result);
  Compose(folder, std::string(13, 't') + ".lnk", &result);
  EXPECT_EQ(0, result);
  Compose(folder, std::string(10, 't') + ".lnk", &result);
  EXPECT_EQ(1, result);
  // A smaller buffer than the path limit is respected as well.
  char small[16] = "C:\\S";
  EXPECT_EQ(0, ComposeShortcutPath(small, sizeof small, "0123456789"));
  EXPECT_STREQ("", small);
}

TEST(FileNamePart, IsWhatFollowsTheLastRealBackslash) {
  const std::pair<const char*, const char*> kPaths[] = {
      {"C:\\S\\a.lnk", "a.lnk"}, {"a.lnk", "a.lnk"}, {"C:\\", ""}, {"\\\\server\\share\\x.exe", "x.exe"},
      {"C:\\表", "表"}, {"C:\\表\\ソ.exe", "ソ.exe"}, {"", ""}};
  for (const auto& path : kPaths) EXPECT_EQ(Utf8(path.second), Utf8(FileNamePart(path.first))) << Utf8(path.first);
}

TEST(DisplayStem, DropsLnkWhereTheNameEndsWithIt) {
  EXPECT_EQ(Utf8("表示"), Utf8(Stem("C:\\S\\表示.lnk")));
  EXPECT_EQ(Utf8("メール"), Utf8(Stem("C:\\S\\メール.lnk")));
  EXPECT_EQ("a.LNK.b", Stem("C:\\S\\a.LNK.b.LNK"));
  EXPECT_EQ("a.LNK.b", Stem("C:\\S\\a.LNK.b")) << "no .lnk at the end: the whole name";
  EXPECT_EQ("", Stem("C:\\S\\.lnk"));
  EXPECT_EQ("noext", Stem("C:\\S\\noext"));
  EXPECT_EQ(Utf8("予定表"), Utf8(Stem("C:\\表\\予定表")));  // both end in 0x5C
  EXPECT_EQ("x", Stem("C:\\a.d\\x"));                  // a dot in the folder only
}

TEST(TitleRules, ForbiddenCharactersCountOnlyAsCharactersOfTheirOwn) {
  for (const char* refused : {"a\\b", "..\\..\\x", "\\", "a/b", "/", "a:b", "C:x", "表\\", "ｱ:ｲ", "ソ/", "a*b", "a?b",
                              "what?", "\"quoted\"", "<", "a>b", "bad|name", "ポ|", "表*", "ﾃｽﾄ?"}) {
    EXPECT_EQ(1, TitleHasForbiddenCharacter(refused)) << Utf8(refused);
  }
  // 表 (0x95 0x5C), ソ (0x83 0x5C), 予 (0x97 0x5C) and ポ (0x83 0x7C) end in
  // the bytes of \ and |; half-width kana are single bytes. Full-width
  // look-alikes are ordinary characters.
  for (const char* kept : {"", "Mail", "a.lnk.b", "表", "ソ", "予定表", "表示ソフト", "ポ", "ポップ", "ｱｲｳ", "ﾃｽﾄ表",
                           "a-b_c (1) [x] {y} 'z' & #!", "＊？＂＜＞｜：／￥"}) {
    EXPECT_EQ(0, TitleHasForbiddenCharacter(kept)) << Utf8(kept);
  }
}

TEST(TitleRules, DeviceNamesAreFoundUpToTheFirstDotInAnyCase) {
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "COM0", "COM9", "LPT0", "LPT9", "nul",
                             "Com1", "aux.txt", "CON ", "lpt9.lnk", "nul.", "con  .x.y", "conout$.lnk"}) {
    EXPECT_EQ(1, TitleNamesDevice(device)) << "[" << device << "]";
  }
  for (const char* name : {"", "NULL", "COM10", "CONSOLE", "xNUL", "COM", "LPT", "COMA", " NUL", "N UL", ".NUL",
                           "CONIN", "CONOUT$$", "表", "ｺﾝ", "COM１"}) {
    EXPECT_EQ(0, TitleNamesDevice(name)) << "[" << Utf8(name) << "]";
  }
}

TEST(ChooserFailureText, NamesTheTooLongPathOrTheChoosersError) {
  const char* tooLong = "選択したファイルのパスが長すぎるため登録できませんでした。";
  char text[256];
  memset(text, kSentinel, sizeof text);
  ChooserFailureText(FNERR_BUFFERTOOSMALL, tooLong, text, sizeof text);
  EXPECT_EQ(Utf8(tooLong), Utf8(text));
  ChooserFailureText(CDERR_DIALOGFAILURE, tooLong, text, sizeof text);
  EXPECT_EQ(Utf8("ファイルを選択できませんでした。\n\n（エラー 0xFFFF）"), Utf8(text));
  ChooserFailureText(FNERR_INVALIDFILENAME, tooLong, text, sizeof text);
  EXPECT_EQ(Utf8("ファイルを選択できませんでした。\n\n（エラー 0x3002）"), Utf8(text));
  ChooserFailureText(CDERR_STRUCTSIZE, tooLong, text, sizeof text);
  EXPECT_EQ(Utf8("ファイルを選択できませんでした。\n\n（エラー 0x0001）"), Utf8(text));
}

TEST(TextHelpers, CopyNeverSplitsADoubleByteCharacter) {
  char out[4];
  memset(out, kSentinel, sizeof out);
  EXPECT_EQ(0, CopyText(out, sizeof out, "a表b"));  // a 0x95 0x5C b: "a表" fits exactly
  EXPECT_EQ(Utf8("a表"), Utf8(out));
  memset(out, kSentinel, sizeof out);
  EXPECT_EQ(0, CopyText(out, sizeof out, "ab表"));  // the lead byte would be alone
  EXPECT_STREQ("ab", out);
  memset(out, kSentinel, sizeof out);
  EXPECT_EQ(1, CopyText(out, sizeof out, "abc"));
  EXPECT_STREQ("abc", out);
  char appended[6] = "ab";
  EXPECT_EQ(0, AppendText(appended, sizeof appended, "ｱ表表"));  // half-width katakana is one byte
  EXPECT_EQ(Utf8("abｱ表"), Utf8(appended));
}

// The compatibility setting's list: RUNASADMIN and RUNASINVOKER as whole
// layer names, after flag tokens or among other layers, in any case; never
// past the bytes given or the terminator.
TEST(CompatibilityLayers, EachRequestCountsOnlyAsAWholeLayerName) {
  const int kAdmin = kLayerRunAsAdministrator, kInvoker = kLayerRunAsInvoker;
  const std::pair<std::string, int> kLists[] = {
      {"~ RUNASADMIN", kAdmin}, {"HIGHDPIAWARE RunAsAdmin WIN8RTM", kAdmin}, {"$ ~ runasadmin ", kAdmin},
      {"~ RUNASINVOKER", kInvoker}, {"RUNASINVOKER RUNASADMIN", kAdmin | kInvoker}, {"WIN8RTM", 0},
      {"~ RUNASADMINX", 0}, {"~ XRUNASADMIN", 0}, {"~ RUNASINVOKE", 0}, {"", 0}, {std::string("~\0RUNASADMIN", 12), 0}};
  for (const auto& list : kLists) EXPECT_EQ(list.second, LayerRequests(list.first.data(), list.first.size())) << list.first;
  EXPECT_EQ(0, LayerRequests("~ RUNASADMIN", 11)) << "only the bytes given";
}

// Only whole characters: ザ is 0x83 0x55 (U), so ザPDATE would hold UPDATE
// byte by byte; after 表 (0x95 0x5C) a word still starts.
TEST(FileNameHolds, FindsAWordOnlyAtACharacter) {
  EXPECT_EQ(0, FileNameHolds("C:\\x\\ザPDATE.exe", "UPDATE"));
  EXPECT_EQ(1, FileNameHolds("C:\\x\\表SETUP.exe", "SETUP"));
}

// The rest of a path below a folder: the whole folder, ASCII letters in any
// case, double-byte characters never folded (ヂ is 0x83 0x61, ア 0x83 0x41).
TEST(PathBelowFolder, GivesTheRestBelowAWholeFolderOnly) {
  EXPECT_STREQ("\\App\\a.exe", PathBelowFolder("c:\\PROGRAM files (X86)\\App\\a.exe", "C:\\Program Files (x86)"));
  EXPECT_STREQ("\\a.exe", PathBelowFolder("C:\\x\\a.exe", "C:\\x\\"));
  EXPECT_STREQ("\\b", PathBelowFolder("C:\\表\\b", "c:\\表"));
  EXPECT_EQ(nullptr, PathBelowFolder("C:\\Program Files (x86)x\\a.exe", "C:\\Program Files (x86)"));
  EXPECT_EQ(nullptr, PathBelowFolder("C:\\Program", "C:\\Program Files (x86)"));
  EXPECT_EQ(nullptr, PathBelowFolder("C:\\ヂ\\b", "C:\\ア"));
}

// A name from the platform is used only as it is: never a look-alike, never
// cut. UTF-8 holds every character; there only an unpaired surrogate fails.
TEST(NarrowExactly, GivesTheNameAsItIsOrSaysWhyNot) {
  char out[16];
  memset(out, kSentinel, sizeof out);
  EXPECT_EQ(kNarrowedExactly, NarrowExactly(932, L"\u8868\u793A.exe", out, sizeof out));
  EXPECT_EQ(Utf8("表示.exe"), Utf8(out));
  EXPECT_EQ(kNotExact, NarrowExactly(932, L"caf\u00E9", out, sizeof out)) << "no best fit: an accented e is not e";
  EXPECT_EQ(kNotExact, NarrowExactly(932, L"a\u00A5..", out, sizeof out)) << "the yen sign is not a backslash";
  EXPECT_EQ(kNarrowTooLong, NarrowExactly(932, L"\u8868\u793A.exe", out, 8)) << "9 bytes";

  memset(out, kSentinel, sizeof out);
  EXPECT_EQ(kNarrowedExactly, NarrowExactly(CP_UTF8, L"caf\u00E9\u8868", out, sizeof out));
  EXPECT_STREQ("caf\xC3\xA9\xE8\xA1\xA8", out);
  EXPECT_EQ(kNotExact, NarrowExactly(CP_UTF8, L"a\xD800.exe", out, sizeof out)) << "an unpaired surrogate";
  EXPECT_EQ(kNotExact, NarrowExactly(CP_UTF8, L"a\xDC00", out, sizeof out)) << "a lone low surrogate";
  EXPECT_EQ(kNarrowedExactly, NarrowExactly(CP_UTF8, L"\u8868\u793A\u8868\u793A\u8868", out, sizeof out))
      << "five kanji take 15 bytes and the terminator";
  EXPECT_EQ(kNarrowTooLong, NarrowExactly(CP_UTF8, L"\u8868\u793A\u8868\u793A\u8868a", out, sizeof out));
}

TEST(WidenPath, GivesThePathWholeOrNothing) {
  WCHAR wide[4] = {0x7F7F, 0x7F7F, 0x7F7F, 0x7F7F};
  EXPECT_EQ(1, WidenPath("表示a", wide, 4));
  EXPECT_EQ(std::wstring(L"\u8868\u793Aa"), wide);
  EXPECT_EQ(0, WidenPath("表示ab", wide, 4)) << "four characters and the terminator";
  EXPECT_EQ(0, wide[0]) << "a path too long is never cut to another path";
}

// --- Property test over generated code page 932 strings -------------------

// True when the character survives the trip through UTF-16: real file names
// always do, unassigned code points of the code page do not.
bool RoundTrips(const std::string& c) {
  WCHAR wide[4];
  char back[8];
  BOOL defaulted = FALSE;
  if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, c.c_str(), -1, wide, 4) == 0) return false;
  WideCharToMultiByte(932, 0, wide, -1, back, sizeof back, NULL, &defaulted);
  return !defaulted && c == back;
}

// One random character: ASCII (with many backslashes, slashes, colons and dots), half-width
// katakana, or a double-byte character, often with a 0x5C or 0x7C second byte.
std::string RandomCharacter(std::mt19937& random) {
  static const char* const kTricky[] = {"表", "ソ", "予", "能", "十", "申", "｜", "ポ", "構", "貼"};
  std::string c;
  switch (random() % 8) {
    case 0: return random() % 4 ? "\\" : std::string(1, "/:*?\"<>|"[random() % 8]);
    case 1: return ".";
    case 2: return std::string(1, static_cast<char>(0xA1 + random() % 63));  // ｡ to ﾟ
    case 3: return kTricky[random() % 10];
    case 4:  // a double-byte character with a 0x5C or 0x7C second byte
      c = {static_cast<char>(0x81 + random() % 31), static_cast<char>(random() % 2 ? 0x5C : 0x7C)};
      return RoundTrips(c) ? c : kTricky[random() % 10];
    case 5:  // any lead byte with any trail byte
      c = {static_cast<char>(random() % 2 ? 0x81 + random() % 31 : 0xE0 + random() % 13),
           static_cast<char>(0x40 + random() % 0xBD)};
      return RoundTrips(c) ? c : kTricky[random() % 10];
    default: return std::string(1, static_cast<char>('a' + random() % 26 - (random() % 2 ? 32 : 0)));
  }
}

// The byte offsets at which characters start, as the code page defines them.
std::vector<size_t> CharacterStarts(const std::string& s) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < s.size();) {
    starts.push_back(i);
    i += (IsDBCSLeadByte(static_cast<BYTE>(s[i])) && i + 1 < s.size()) ? 2 : 1;
  }
  return starts;
}

bool IsCharacterBoundary(const std::string& s, size_t offset) {
  std::vector<size_t> starts = CharacterStarts(s);
  return offset == s.size() || std::find(starts.begin(), starts.end(), offset) != starts.end();
}

// .lnk at the end in any ASCII case, judged apart from the program's rule.
bool EndsInLnkAnyCase(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; });
  return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".lnk") == 0;
}

size_t LastRealSeparator(const std::string& s, bool* found) {
  *found = false;
  size_t last = 0;
  for (size_t i = 0; i < s.size(); i += (IsDBCSLeadByte(static_cast<BYTE>(s[i])) && i + 1 < s.size()) ? 2 : 1) {
    if (s[i] == '\\') {
      last = i;
      *found = true;
    }
  }
  return last;
}

TEST(PathRulesProperty, HoldForThousandsOfGeneratedStrings) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 5000; ++round) {
    std::string s;  // at most 150 bytes: every path below stays within the limit
    int length = random() % 149;
    while (static_cast<int>(s.size()) < length) s += RandomCharacter(random);
    SCOPED_TRACE("round " + std::to_string(round));

    // DirectoryPart: a prefix of the input ending just before a real separator.
    char dir[260];
    memset(dir, kSentinel, sizeof dir);
    ASSERT_EQ(1, DirectoryPart(s.c_str(), dir, sizeof dir));
    ASSERT_NE(nullptr, memchr(dir, 0, sizeof dir));
    bool hasSeparator = false;
    size_t separator = LastRealSeparator(s, &hasSeparator);
    if (hasSeparator) {
      bool root = separator == 2 && s[1] == ':';  // a drive's root keeps its backslash
      ASSERT_EQ(s.substr(0, separator + (root ? 1 : 0)), std::string(dir));
    } else {
      ASSERT_STREQ("", dir);
    }
    ASSERT_TRUE(IsCharacterBoundary(s, strlen(dir)));

    // ComposeShortcutPath with a random folder and title: either the whole
    // path within the limit, or a refusal with an empty buffer.
    std::string folder = "C:\\" + s.substr(0, random() % (s.size() + 1));
    while (!IsCharacterBoundary(s, folder.size() - 3)) folder.pop_back();
    std::string title;
    int titleLength = random() % 200;
    while (static_cast<int>(title.size()) < titleLength) title += RandomCharacter(random);
    if (title.size() > 199) title.resize(0);
    char path[260];
    memset(path, kSentinel, sizeof path);
    lstrcpyA(path, folder.c_str());
    int composed = ComposeShortcutPath(path, sizeof path, title.c_str());
    ASSERT_NE(nullptr, memchr(path, 0, sizeof path));
    // One backslash between: none added after one that ends the folder.
    bool folderHasOne = false;
    bool endsInOne = LastRealSeparator(folder, &folderHasOne) == folder.size() - 1 && folderHasOne;
    std::string expected = folder + (endsInOne ? "" : "\\") + title;
    if (!EndsInLnkAnyCase(title)) expected += ".lnk";
    if (expected.size() <= 259) {
      ASSERT_EQ(1, composed);
      ASSERT_EQ(expected, std::string(path));
    } else {
      ASSERT_EQ(0, composed);
      ASSERT_STREQ("", path);
    }

    // TitleHasForbiddenCharacter: one of the nine only where a character starts.
    bool forbidden = false;
    for (size_t start : CharacterStarts(title))
      if (std::string("\\/:*?\"<>|").find(title[start]) != std::string::npos) forbidden = true;
    ASSERT_EQ(forbidden ? 1 : 0, TitleHasForbiddenCharacter(title.c_str()));

    // DisplayStem: zero-terminated, whole characters, the name after the last
    // real separator without its last extension.
    char stem[260];
    memset(stem, kSentinel, sizeof stem);
    std::string picked = "C:\\" + s;
    ASSERT_EQ(1, DisplayStem(picked.c_str(), stem, sizeof stem));
    ASSERT_NE(nullptr, memchr(stem, 0, sizeof stem));
    bool found = false;
    std::string name = picked.substr(LastRealSeparator(picked, &found) + 1);
    if (EndsInLnkAnyCase(name)) name.resize(name.size() - 4);
    ASSERT_EQ(name, std::string(stem));

    // The bounded copy into a random small buffer never splits a character.
    char small[40];
    memset(small, kSentinel, sizeof small);
    size_t size = 1 + random() % sizeof small;
    int whole = CopyText(small, size, s.c_str());
    size_t copied = strlen(small);
    ASSERT_LT(copied, size);
    ASSERT_EQ(s.substr(0, copied), std::string(small));
    ASSERT_TRUE(IsCharacterBoundary(s, copied));
    ASSERT_EQ(whole == 1, copied == s.size());
  }
}

}  // namespace
