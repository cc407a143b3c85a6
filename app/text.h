// Bounded text operations on zero-terminated strings in the ANSI code page.
// None writes past its buffer, and none leaves half a double-byte character.
#pragma once

#include <stddef.h>

// Copies src into dst (size bytes). Returns 1 when all of src fitted; else
// copies the longest prefix of whole characters that fits and returns 0.
int CopyText(char* dst, size_t size, const char* src);

// Appends src to the string in dst, with the same rules as CopyText.
int AppendText(char* dst, size_t size, const char* src);

// Drops a lead byte left alone at the end of text (its trail byte was cut
// off by a bounded copy). Returns 1 when it dropped one.
int DropTrailingLeadByte(char* text);
