// Bounded text operations on zero-terminated strings in the ANSI code page.
// None writes past its buffer, and none leaves half a double-byte character.
#pragma once

#include <stddef.h>
#include <windows.h>

// c in upper case where it is an ASCII letter. Windows compares file names
// and such tokens so, whatever the language.
inline char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// 1 when the length bytes of token are word, an ASCII word in upper case, in
// any ASCII case: as Windows compares device and layer names.
int IsAsciiWord(const char* token, size_t length, const char* word);

// Copies src into dst (size bytes). Returns 1 when all of src fitted; else
// copies the longest prefix of whole characters that fits and returns 0.
int CopyText(char* dst, size_t size, const char* src);

// Appends src to the string in dst, with the same rules as CopyText.
int AppendText(char* dst, size_t size, const char* src);

// How a name from the platform came out in a code page.
enum NarrowResult {
  kNarrowedExactly,  // out holds the name, every character as it is
  kNotExact,         // a character has no exact form there (out holds nothing to use)
  kNarrowTooLong,    // exact, but longer than out (size bytes)
};

// Converts wide into codePage without "best fit": a name the code page cannot
// hold (the yen sign, é on a Japanese system) must never come back as a
// look-alike (a backslash, e) that names another file. UTF-8 holds every
// character but refuses the flags that say so; there an unpaired surrogate,
// which NTFS allows in a name, is what cannot be held.
NarrowResult NarrowExactly(UINT codePage, const WCHAR* wide, char* out, int size);

// For a text that is only shown, never used to name or open anything: the
// length units of wide (-1: up to its terminator) into the process's code
// page in out (size bytes, at least 4 * units + 5), with the code page's
// default character for a character it lacks. One longer than units UTF-16
// units is cut there (never inside a pair) and ends in an ellipsis.
void NarrowShown(const WCHAR* wide, int length, int units, char* out, int size);

// A path in the process's code page as UTF-16 in out (size units), for the
// wide calls. Returns 0, out empty, when it does not fit or holds a byte
// sequence the code page does not (no character is ever guessed).
int WidenPath(const char* path, WCHAR* out, int size);
