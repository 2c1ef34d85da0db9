#include "platform/encoding.h"

#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace plat {

namespace {

constexpr UINT kCp932 = 932;

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

// One CP932 character (one or two bytes) to UTF-16; false when the system
// knows no such character.
bool DecodeOne(std::string_view bytes, std::wstring* out) {
  wchar_t wide[2];
  const int n =
      ::MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), wide, 2);
  if (n <= 0) return false;
  out->append(wide, static_cast<std::size_t>(n));
  return true;
}

}  // namespace

// Character by character, so that a byte that is no CP932 becomes one
// U+FFFD and the characters after it come through as they are; runs of
// ASCII go through untouched.
std::string Cp932ToUtf8(std::string_view cp932) {
  if (IsAscii(cp932)) return std::string(cp932);
  std::wstring wide;
  wide.reserve(cp932.size());
  std::size_t i = 0;
  while (i < cp932.size()) {
    const unsigned char c = static_cast<unsigned char>(cp932[i]);
    if (c < 0x80) {
      wide.push_back(static_cast<wchar_t>(c));
      ++i;
      continue;
    }
    if (IsCp932LeadByte(c) && i + 1 < cp932.size() && DecodeOne(cp932.substr(i, 2), &wide)) {
      i += 2;
      continue;
    }
    // Single-byte katakana, or a byte no character starts with: only the
    // first byte is taken, as a lead byte with a bad second byte is.
    if (!(c >= 0xA1 && c <= 0xDF && DecodeOne(cp932.substr(i, 1), &wide))) wide.push_back(L'\xFFFD');
    ++i;
  }
  return win32::Narrow(wide);
}

// UTF-8 bytes that start no character become "?" (the whole broken
// sequence, no more); characters CP932 lacks become "?" too, never a
// look-alike the system would choose.
std::string Utf8ToCp932(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    std::size_t have = 1;
    while (have < length && i + have < utf8.size() && (static_cast<unsigned char>(utf8[i + have]) & 0xC0) == 0x80) {
      ++have;
    }
    const std::wstring wide = have == length && length > 1 ? win32::Wide(utf8.substr(i, length)) : std::wstring();
    i += have;
    if (wide.empty() || wide == L"\xFFFD") {
      out.push_back('?');
      continue;
    }
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), bytes,
                                        sizeof bytes, "?", &usedDefault);
    if (n <= 0 || usedDefault) {
      out.push_back('?');
    } else {
      out.append(bytes, static_cast<std::size_t>(n));
    }
  }
  return out;
}

}  // namespace plat
