#pragma once
#include <string_view>

// Reads the number a text starts with, the way the host's own tools read room
// numbers: leading white space skipped, an optional sign, then decimal digits
// up to the first non-digit; no digits gives 0. Values beyond the int range
// are held at INT_MIN / INT_MAX instead of wrapping.
int LeadingNumber(std::string_view text);

// True for the bytes the C library counts as white space (space, TAB, LF,
// VT, FF, CR). No CP932 trail byte is among them, so trimming a CP932 text
// byte by byte never splits a character.
bool IsAsciiSpace(char c);

// text without its trailing white space.
std::string_view TrimTrailingSpace(std::string_view text);
