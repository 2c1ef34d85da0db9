// TORBLEN's reconciliation of AR.LST against a reading of the list written
// from its rules alone: every line (whole, however long) is kept byte for
// byte when its second space-separated field, line end included, names
// something in the folder (ASCII case ignored), and dropped otherwise; the
// kept lines are written back in order with CR LF ends, and nothing else is
// left in the folder. The list names itself too, in any case. A list with
// more than marks and line ends after an end-of-text byte can't be read to
// its end and is left as it was.
//
// Input: the names of the files in the folder (one a line, up to the first
// NUL byte, at most 8, made of letters, digits and "_#.-"), then the list.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "commands/archive_list.h"
#include "fuzz/scratch_folder.h"
#include "platform/dir_search.h"
#include "platform/encoding.h"
#include "platform/file_ops.h"

namespace {

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool UsableName(const std::string& name) {
  if (name.empty() || name.size() > 64 || name == "." || name == "..") return false;
  if (Upper(name) == "AR.LST" || Upper(name).starts_with("AR.LST.NEW")) return false;
  for (char c : name) {
    bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '#' ||
              c == '.' || c == '-';
    if (!ok) return false;
  }
  return true;
}

std::string_view SecondFieldOf(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && line[i] == ' ') ++i;
  while (i < line.size() && line[i] != ' ') ++i;  // the first field
  while (i < line.size() && line[i] == ' ') ++i;
  std::size_t start = i;
  while (i < line.size() && line[i] != ' ') ++i;
  return line.substr(start, i - start);
}

bool Names(const std::string& folder, const std::set<std::string>& upperNames, const std::string& field) {
  if (field.empty() || field.find('\0') != std::string::npos) return false;
  if (upperNames.count(Upper(field))) return true;
  std::error_code ec;
  if (std::filesystem::exists(std::filesystem::symlink_status(folder + "/" + field, ec))) return true;
  bool ascii = true;
  for (char c : field) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return false;
  const std::string utf8 = plat::Cp932ToUtf8(field);
  return utf8 != field && (upperNames.count(Upper(utf8)) ||
                           std::filesystem::exists(std::filesystem::symlink_status(folder + "/" + utf8, ec)));
}

bool HidesTextAfterEndMark(std::string_view list) {
  const std::size_t mark = list.find('\x1a');
  return mark != std::string_view::npos && list.find_first_not_of("\x1a\r\n", mark) != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  if (nul == std::string_view::npos) return 0;

  fuzzing::EmptyScratchFolder();
  const std::string& folder = fuzzing::ScratchFolder();
  std::set<std::string> upperNames;
  std::size_t start = 0;
  const std::string_view namePart = input.substr(0, nul);
  while (start <= namePart.size() && upperNames.size() < 8) {
    std::size_t lf = namePart.find('\n', start);
    std::size_t end = lf == std::string_view::npos ? namePart.size() : lf;
    std::string name(namePart.substr(start, end - start));
    if (UsableName(name) && upperNames.insert(Upper(name)).second) {
      fuzzing::PutFile(plat::JoinPath(folder, name), "x");
    }
    if (lf == std::string_view::npos) break;
    start = lf + 1;
  }
  const std::string list(input.substr(nul + 1));
  fuzzing::PutFile(plat::JoinPath(folder, kArchiveListName), list);
  upperNames.insert(Upper(kArchiveListName));  // the list is in the folder as well

  std::string expected;
  std::size_t lines = 0;
  const std::string text = fuzzing::TextModeContent(list);
  for (std::size_t at = 0; at < text.size();) {
    std::size_t lf = text.find('\n', at);
    std::size_t end = lf == std::string::npos ? text.size() : lf + 1;
    const std::string line = text.substr(at, end - at);
    at = end;
    ++lines;
    if (!Names(folder, upperNames, std::string(SecondFieldOf(line)))) continue;
    for (char c : line) {
      if (c == '\n') expected += '\r';
      expected += c;
    }
  }

  std::vector<plat::FoundItem> listing;
  plat::FindFiles(folder, "*.*", &listing);
  const ReconcileResult result = ReconcileArchiveList(folder, listing);
  if (HidesTextAfterEndMark(list)) {
    if (result.outcome != ReconcileOutcome::EndsEarly) fuzzing::Fail("a list not read to its end was not left alone");
    if (fuzzing::GetFile(plat::JoinPath(folder, kArchiveListName)) != list)
      fuzzing::Fail("a list not read to its end was changed");
    return 0;
  }
  if (result.outcome != ReconcileOutcome::Rewritten) fuzzing::Fail("a writable list was not rewritten");
  if (result.kept + result.dropped != lines) fuzzing::Fail("kept and dropped lines don't add up to the list");
  if (fuzzing::GetFile(plat::JoinPath(folder, kArchiveListName)) != expected) {
    fuzzing::Fail("the rewritten list differs from the kept lines");
  }
  std::vector<plat::FoundItem> after;
  plat::FindFiles(folder, "*.*", &after);
  if (after.size() != listing.size()) fuzzing::Fail("the rewrite left a file behind or took one away");
  return 0;
}
