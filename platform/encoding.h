#pragma once
#include <string>
#include <string_view>

namespace plat {

// CP932 (Shift-JIS) bytes to UTF-8 for the screen. Bytes that are not
// valid CP932 become U+FFFD, so a damaged log still shows.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 to CP932 bytes; characters CP932 lacks become "?".
std::string Utf8ToCp932(std::string_view utf8);

// True when byte c starts a double-byte CP932 character.
inline bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

}  // namespace plat
