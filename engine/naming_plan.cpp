// Where a log is cut and what its old logs are called.
//
// The naming state word of a room is shared by the body and the title log of
// that room within one split command: the first file of the room searches the
// folder and fixes the letters (archive form) or the first serial (".M"
// serials); the room's later files follow it, so that both logs of a room get
// matching names. Nothing is opened, created or listed here.
#include "engine/naming_plan.h"

#include <cstdio>

#include "engine/engine_messages.h"
#include "engine/folder_names.h"
#include "model/file_entry.h"
#include "platform/local_time.h"

namespace {

// Closes every cut-point list: lies above every message number.
constexpr std::int32_t kTopCut = 0x10000;

constexpr int kLetterCount = 26;  // A to Z
constexpr std::uint32_t kLetterZ = 1u << 25;

// ".M" serials are two digits; reaching this one means the room has run out.
constexpr std::uint32_t kSerialLimit = 100;

std::vector<std::int32_t> PlanCutPoints(int number, int lower, int upper, SplitMethod method) {
  std::vector<std::int32_t> cuts{0};
  if (method == SplitMethod::Multiple) {
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

// One naming of one log: the request, the folder's names, and the plan it
// fills in, with the room's state carried along.
class Naming {
 public:
  Naming(const NamingRequest& request, std::uint32_t state, const FolderNames& folder)
      : request_(request), folder_(folder) {
    plan_.state = state;
    plan_.cutPoints = PlanCutPoints(request.number, request.lower, request.upper, request.method);
  }

  NamingPlan Make() {
    std::optional<CNameError> failure;
    if (folder_.listError() != 0) {
      failure = ListingFailure();
    } else {
      failure = request_.form == NamingForm::Archive ? MakeArchiveNames() : MakeSerialNames();
    }
    if (failure) {
      plan_.names.clear();
      plan_.failure = std::move(failure);
    } else {
      plan_.names.push_back(request_.logName);
    }
    return std::move(plan_);
  }

 private:
  std::optional<CNameError> MakeArchiveNames();
  std::optional<CNameError> MakeSerialNames();
  CNameError NameFailure(int messageId, const std::string& fileName);
  CNameError ListingFailure();  // the folder could not be listed

  std::size_t OldLogCount() const { return plan_.cutPoints.size() - 2; }

  const NamingRequest& request_;
  const FolderNames& folder_;
  NamingPlan plan_;
};

std::optional<CNameError> Naming::MakeArchiveNames() {
  std::uint32_t& state = plan_.state;
  const std::size_t oldLogs = OldLogCount();
  const std::string yearMonth = plat::FormatLocalTime(request_.today, "%y%m");

  if (state == kNamingFresh) {
    state = 0;
    // Both kinds are searched, so a letter is never given out twice in a
    // month, whichever log of the room used it.
    std::uint32_t used = 0;
    for (const std::string& name : folder_.Matching("AR?" + yearMonth + "?.LOG")) {
      const std::size_t dot = name.rfind('.');
      if (dot == std::string::npos || dot == 0) continue;
      const int letter = LetterIndex(name[dot - 1]);
      if (letter >= 0) used |= 1u << letter;
    }
    if (used & kLetterZ) return NameFailure(ids::kMsgNameOverflow, request_.logName);
    int letter = 0;
    for (std::size_t i = 0; i < oldLogs; ++i, ++letter) {
      while (letter < kLetterCount && (used & (1u << letter))) ++letter;
      if (letter >= kLetterCount) return NameFailure(ids::kMsgNameOverflow, request_.logName);
      std::string name = ArchiveName(request_.kind, yearMonth, letter);
      if (folder_.Taken(name)) return NameFailure(ids::kMsgNameClash, name);
      state |= 1u << letter;
      plan_.names.push_back(std::move(name));
    }
    return std::nullopt;
  }

  // A room whose first file could not be named is not split at all: its
  // other log would otherwise get names that do not match.
  if (state & kNamingError) return NameFailure(ids::kMsgNameOverflow, request_.logName);
  int letter = 0;
  for (std::size_t i = 0; i < oldLogs; ++i, ++letter) {
    while (letter < kLetterCount && !(state & (1u << letter))) ++letter;
    if (letter >= kLetterCount) return NameFailure(ids::kMsgNameOverflow, request_.logName);
    std::string name = ArchiveName(request_.kind, yearMonth, letter);
    // The room's first file may have failed to split after it was named, and
    // another room may then have been given its letters.
    if (folder_.Taken(name)) return NameFailure(ids::kMsgNameClash, name);
    plan_.names.push_back(std::move(name));
  }
  return std::nullopt;
}

std::optional<CNameError> Naming::MakeSerialNames() {
  std::uint32_t& state = plan_.state;
  const std::size_t oldLogs = OldLogCount();
  const std::string base = BaseName(request_.logName);

  // A cut at whole thousands names each old log after the thousands it ends at.
  if (request_.number % 1000 == 0) {
    for (std::size_t i = 0; i < oldLogs; ++i) {
      std::string name = Numbered("%03d", base + ".", plan_.cutPoints[i + 1] / 1000);
      if (folder_.Taken(name)) return NameFailure(ids::kMsgNameClash, name);
      plan_.names.push_back(std::move(name));
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
    for (const std::string& name : folder_.Matching(pattern)) {
      const int used = SerialOf(name);
      if (used > highest) highest = used;
    }
    serial = static_cast<std::uint32_t>(highest + 1);
    state = serial;
  } else {
    if (state & kNamingError) return NameFailure(ids::kMsgNameOverflow, request_.logName);
    serial = state;
  }

  for (std::size_t i = 0; i < oldLogs; ++i, ++serial) {
    if (serial >= kSerialLimit) {
      state = serial;
      return NameFailure(ids::kMsgNameOverflow, request_.logName);
    }
    std::string name = Numbered("%02d", stem, static_cast<int>(serial));
    if (folder_.Taken(name)) return NameFailure(ids::kMsgNameClash, name);
    plan_.names.push_back(std::move(name));
  }
  return std::nullopt;
}

CNameError Naming::NameFailure(int messageId, const std::string& fileName) {
  plan_.state |= kNamingError;
  return CNameError{messageId, fileName};
}

CNameError Naming::ListingFailure() {
  if (plan_.state == kNamingFresh) plan_.state = 0;
  CNameError failure = NameFailure(ids::kMsgNameClash, folder_.folder());
  failure.listError = folder_.listError();
  return failure;
}

}  // namespace

NamingPlan PlanOldLogNames(const NamingRequest& request, std::uint32_t state, const FolderNames& folder) {
  return Naming(request, state, folder).Make();
}
