#pragma once
#include <string>
#include <string_view>

namespace plat {

// A folder or file name as it may stand inside a line of a log, of AR.LST or
// of the history: a name may hold any byte but "/" and NUL, and a CR, an LF
// or another control character in it would end the line early or forge the
// next one. Each byte below 0x20, and 0x7F, becomes "_". Neither occurs in
// the second byte of a CP932 or UTF-8 character, so the rest stays as it was.
std::string NameForLine(std::string_view name);

}  // namespace plat
