#pragma once
#include <string>

// Trailing path separators of a folder text typed or chosen by the user.
//
// The text is the file system's bytes: UTF-8 normally, but a folder copied
// from Japanese Windows media may keep a CP932 name, in which the second
// byte of a double-byte character can be 0x5C, the byte of "\". Such a byte
// is part of that character, never a separator: dropping it would cut the
// character in half and name another folder. "/" and "\" both separate.

// True when the text ends with a separator character.
bool EndsWithSeparator(const std::string& folder);

// Removes the one separator character at the end, if there is one.
void RemoveTrailingSeparator(std::string& folder);

// Removes every separator character at the end. A lone "/" stays: it is
// the root folder, not a separator after a name.
void RemoveTrailingSeparators(std::string& folder);
