// Where a log is cut and what its old logs are called.
//
// The naming state word of a room is shared by the body and the title log of
// that room within one split command: the first file of the room searches the
// folder and fixes the letters (archive form) or the first serial (".M"
// serials); the room's later files follow it, so that both logs of a room get
// matching names. Nothing is opened or created here; the folder is only
// listed.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/engine_messages.h"
#include "engine/log_file.h"
#include "platform/dir_search.h"
#include "platform/file_ops.h"
#include "platform/local_time.h"

namespace {

// Closes every cut-point list: lies above every message number.
constexpr std::int32_t kTopCut = 0x10000;

constexpr int kLetterCount = 26;  // A to Z
constexpr std::uint32_t kLetterZ = 1u << 25;

// ".M" serials are two digits; reaching this one means the room has run out.
constexpr std::uint32_t kSerialLimit = 100;

std::vector<std::int32_t> PlanCutPoints(int number, int lower, int upper, int method) {
  std::vector<std::int32_t> cuts{0};
  if (method == kMethodMultiple) {
    // A step of 0 would never advance; the dialog refuses it, and without a
    // step there is nothing to cut.
    if (number > 0) {
      const std::int64_t step = number;
      const std::int64_t first = (lower / step + 1) * step;
      if (upper < first) {
        cuts.push_back(upper);
      } else {
        for (std::int64_t cut = first; cut < upper; cut += step) {
          cuts.push_back(static_cast<std::int32_t>(cut));
        }
      }
    }
  } else {
    cuts.push_back(number);
  }
  cuts.push_back(kTopCut);
  return cuts;
}

// The log's name up to its first ".", the whole name when it has none.
std::string BaseName(const std::string& name) { return name.substr(0, name.find('.')); }

unsigned char AsciiUpper(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(static_cast<unsigned char>(a[i])) != AsciiUpper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The names in the folder, listed once per naming. Without the listing the
// letters and serials in use are unknown: naming then fails with the
// listing's error (see listError).
class FolderNames {
 public:
  explicit FolderNames(const std::string& folder) : folder_(folder) {
    if (!plat::FindFiles(folder, "*", &items_, &listError_) && listError_ == 0) listError_ = EIO;
  }
  int listError() const { return listError_; }

  std::vector<std::string> Matching(const std::string& pattern) const {
    std::vector<std::string> found;
    for (const plat::FoundItem& item : items_) {
      if (plat::MatchesPattern(pattern, item.name)) found.push_back(item.name);
    }
    return found;
  }

  // A name the host's file system would take as that of an existing file
  // (it ignores case), or that exists here as it is.
  bool Taken(const std::string& name) const {
    for (const plat::FoundItem& item : items_) {
      if (SameNameIgnoringCase(item.name, name)) return true;
    }
    return plat::FileExists(plat::JoinPath(folder_, name));
  }

 private:
  const std::string& folder_;
  std::vector<plat::FoundItem> items_;
  int listError_ = 0;
};

// 0 for A or a ... 25 for Z or z; -1 for anything else.
int LetterIndex(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a';
  return -1;
}

std::string KindMark(int kind) {
  if (kind == kKindBody) return "_";
  if (kind == kKindTitle) return "#";
  return "";
}

std::string ArchiveName(int kind, const std::string& yearMonth, int letter) {
  return "AR" + KindMark(kind) + yearMonth + static_cast<char>('A' + letter) + ".LOG";
}

// The serial an old log's name carries: its last extension without the "M",
// digits only (none at all is serial 0); -1 when it carries none. Long digit
// runs are held at the limit rather than overflowing.
int SerialOf(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot + 1 >= name.size()) return -1;
  std::uint32_t serial = 0;
  for (std::size_t i = dot + 2; i < name.size(); ++i) {
    const char c = name[i];
    if (c < '0' || c > '9') return -1;
    serial = serial * 10 + static_cast<std::uint32_t>(c - '0');
    if (serial > kSerialLimit) serial = kSerialLimit;
  }
  return static_cast<int>(serial);
}

std::string Numbered(const char* format, const std::string& prefix, int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, format, number);
  return prefix + digits;
}

}  // namespace

std::optional<CNameError> CLogFile::MakeOldLogNames(int number, int lower, int upper, int form,
                                                    int method, std::uint32_t& state) {
  // An object is named once; a second call starts over rather than mixing
  // two plans in one list.
  names_.clear();
  cutPoints_ = PlanCutPoints(number, lower, upper, method);
  std::optional<CNameError> failure =
      form == kFormArchive ? MakeArchiveNames(state) : MakeSerialNames(number, state);
  if (failure) return failure;
  names_.push_back(entry_->name);
  return std::nullopt;
}

std::optional<CNameError> CLogFile::MakeArchiveNames(std::uint32_t& state) {
  const std::size_t oldLogs = cutPoints_.size() - 2;
  const std::string yearMonth = plat::FormatLocalTime(clock_.Now(), "%y%m");
  const FolderNames folder(folder_);
  if (folder.listError() != 0) return ListingFailure(state, folder.listError());

  if (state == kNamingFresh) {
    state = 0;
    // Both kinds are searched, so a letter is never given out twice in a
    // month, whichever log of the room used it.
    std::uint32_t used = 0;
    for (const std::string& name : folder.Matching("AR?" + yearMonth + "?.LOG")) {
      const std::size_t dot = name.rfind('.');
      if (dot == std::string::npos || dot == 0) continue;
      const int letter = LetterIndex(name[dot - 1]);
      if (letter >= 0) used |= 1u << letter;
    }
    if (used & kLetterZ) return NameFailure(state, kMsgNameOverflow, entry_->name);
    int letter = 0;
    for (std::size_t i = 0; i < oldLogs; ++i, ++letter) {
      while (letter < kLetterCount && (used & (1u << letter))) ++letter;
      if (letter >= kLetterCount) return NameFailure(state, kMsgNameOverflow, entry_->name);
      std::string name = ArchiveName(entry_->kind, yearMonth, letter);
      if (folder.Taken(name)) return NameFailure(state, kMsgNameClash, name);
      state |= 1u << letter;
      names_.push_back(std::move(name));
    }
    return std::nullopt;
  }

  // A room whose first file could not be named is not split at all: its
  // other log would otherwise get names that do not match.
  if (state & kNamingError) return NameFailure(state, kMsgNameOverflow, entry_->name);
  int letter = 0;
  for (std::size_t i = 0; i < oldLogs; ++i, ++letter) {
    while (letter < kLetterCount && !(state & (1u << letter))) ++letter;
    if (letter >= kLetterCount) return NameFailure(state, kMsgNameOverflow, entry_->name);
    std::string name = ArchiveName(entry_->kind, yearMonth, letter);
    // The room's first file may have failed to split after it was named, and
    // another room may then have been given its letters.
    if (folder.Taken(name)) return NameFailure(state, kMsgNameClash, name);
    names_.push_back(std::move(name));
  }
  return std::nullopt;
}

std::optional<CNameError> CLogFile::MakeSerialNames(int number, std::uint32_t& state) {
  const std::size_t oldLogs = cutPoints_.size() - 2;
  const std::string base = BaseName(entry_->name);
  const FolderNames folder(folder_);
  if (folder.listError() != 0) return ListingFailure(state, folder.listError());

  // A cut at whole thousands names each old log after the thousands it ends at.
  if (number % 1000 == 0) {
    for (std::size_t i = 0; i < oldLogs; ++i) {
      std::string name = Numbered("%03d", base + ".", cutPoints_[i + 1] / 1000);
      if (folder.Taken(name)) return NameFailure(state, kMsgNameClash, name);
      names_.push_back(std::move(name));
    }
    return std::nullopt;
  }

  const std::string stem = base + ".M";
  std::uint32_t serial = 0;
  if (state == kNamingFresh) {
    // The fourth character tells body logs from title logs; leaving it open
    // lets both logs of a room share one sequence.
    std::string pattern = stem;
    if (pattern.size() > 3) pattern[3] = '?';
    pattern += '*';
    int highest = -1;
    for (const std::string& name : folder.Matching(pattern)) {
      const int used = SerialOf(name);
      if (used > highest) highest = used;
    }
    serial = static_cast<std::uint32_t>(highest + 1);
    state = serial;
  } else {
    if (state & kNamingError) return NameFailure(state, kMsgNameOverflow, entry_->name);
    serial = state;
  }

  for (std::size_t i = 0; i < oldLogs; ++i, ++serial) {
    if (serial >= kSerialLimit) {
      state = serial;
      return NameFailure(state, kMsgNameOverflow, entry_->name);
    }
    std::string name = Numbered("%02d", stem, static_cast<int>(serial));
    if (folder.Taken(name)) return NameFailure(state, kMsgNameClash, name);
    names_.push_back(std::move(name));
  }
  return std::nullopt;
}

CNameError CLogFile::NameFailure(std::uint32_t& state, int messageId, const std::string& fileName) {
  state |= kNamingError;
  return CNameError{messageId, fileName};
}

CNameError CLogFile::ListingFailure(std::uint32_t& state, int err) {
  if (state == kNamingFresh) state = 0;
  CNameError failure = NameFailure(state, kMsgNameClash, folder_);
  failure.listError = err;
  return failure;
}
