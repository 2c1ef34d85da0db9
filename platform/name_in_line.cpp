#include "platform/name_in_line.h"

namespace plat {

std::string NameForLine(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '_';
  }
  return out;
}

}  // namespace plat
