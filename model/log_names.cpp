#include "model/log_names.h"

#include "model/file_entry.h"
#include "model/leading_number.h"

namespace {

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

}  // namespace

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

bool IsRoomListName(std::string_view name) { return UpperAscii(name) == kRoomListName; }

bool CountsAsLogFile(std::string_view name) {
  std::string upper = UpperAscii(name);
  if (upper == kRoomListName) return true;
  bool roomLog = upper.find("MES_") != std::string::npos || upper.find("MES#") != std::string::npos;
  return roomLog && upper.find(".LOG") != std::string::npos;
}

int LogKindFromName(std::string_view name) {
  if (name.size() < 4) return kKindUnknown;
  switch (name[3]) {
    case '#': return kKindTitle;
    case '_': return kKindBody;
    default: return kKindUnknown;
  }
}

int RoomFromName(std::string_view name) {
  std::size_t dot = name.rfind('.');
  std::string_view stem = dot == std::string_view::npos ? name : name.substr(0, dot);
  if (stem.size() <= 4) return 0;
  return LeadingNumber(stem.substr(4));
}
