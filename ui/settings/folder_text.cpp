#include "ui/settings/folder_text.h"

#include <cstddef>

#include "platform/encoding.h"

namespace {

bool IsSeparatorByte(char c) { return c == '\\' || c == '/'; }

bool IsValidUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > s.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

// True when the last byte of the text is a character of its own rather than
// the second byte of a double-byte character. In UTF-8 an ASCII byte is
// always a character; in CP932 the text is walked from its start, since a
// trail byte can only be told from a lead byte by what comes before it.
bool LastByteIsCharacter(const std::string& s) {
  if (s.empty()) return false;
  if (IsValidUtf8(s)) return true;
  std::size_t i = 0;
  std::size_t lastStart = 0;
  while (i < s.size()) {
    lastStart = i;
    i += plat::IsCp932LeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
  }
  return lastStart == s.size() - 1;
}

}  // namespace

bool EndsWithSeparator(const std::string& folder) {
  return !folder.empty() && IsSeparatorByte(folder.back()) && LastByteIsCharacter(folder);
}

void RemoveTrailingSeparator(std::string& folder) {
  if (EndsWithSeparator(folder)) folder.pop_back();
}

void RemoveTrailingSeparators(std::string& folder) {
  while (EndsWithSeparator(folder) && folder != "/") folder.pop_back();
}
