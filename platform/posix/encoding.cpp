#include "platform/encoding.h"

#include <cerrno>
#include <iconv.h>

namespace plat {

namespace {

// Converts with iconv, replacing what can't be converted and going on.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view replacement,
                    bool skipUtf8Sequence) {
  std::string out;
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  out.reserve(in.size() * 3 / 2 + 4);
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char chunk[4096];
  while (srcLeft > 0) {
    char* dst = chunk;
    std::size_t dstLeft = sizeof chunk;
    std::size_t r = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(chunk, static_cast<std::size_t>(dst - chunk));
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL (cut off at the end): replace one character, go on.
    out.append(replacement);
    std::size_t skip = 1;
    if (skipUtf8Sequence) {
      // The whole character goes, but no more: a sequence cut short must not
      // swallow the characters after it.
      unsigned char c = static_cast<unsigned char>(*src);
      std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
      while (skip < length && skip < srcLeft && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) {
        ++skip;
      }
    }
    src += skip;
    srcLeft -= skip;
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  ::iconv_close(cd);
  return out;
}

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
  if (IsAscii(cp932)) return std::string(cp932);
  return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", false);
}

std::string Utf8ToCp932(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  return Convert("CP932", "UTF-8", utf8, "?", true);
}

}  // namespace plat
