#include "engine/log_file.h"

#include <utility>

#include "engine/folder_names.h"
#include "engine/header_lines.h"
#include "platform/file_ops.h"

namespace {

// Below this size a log is read line by line: it costs nothing, and the
// progress display then steps once per line as the pass goes.
constexpr std::uint64_t kSkippingScanMinimum = 64 * 1024;

}  // namespace

CLogFile::CLogFile(std::string folder, CFileEntry* entry, Messenger& messenger, ProgressPort& progress,
                   const Clock& clock)
    : folder_(std::move(folder)), entry_(entry), messenger_(messenger), progress_(progress), clock_(clock) {}

CLogFile::~CLogFile() {
  // A close that fails here still has to be told: the user may have lost what
  // the host was writing.
  if (source_.IsOpen()) Close();
}

bool CLogFile::Open(const std::string& name) {
  if (opened_ || source_.IsOpen()) return false;
  const std::string& fileName = name.empty() ? entry_->name : name;
  if (!source_.Open(plat::JoinPath(folder_, fileName))) {
    messenger_.FileError(fileName, source_.error());
    return false;
  }
  opened_ = true;
  sourceName_ = fileName;
  return true;
}

bool CLogFile::Close() {
  if (!source_.IsOpen()) return false;
  if (!source_.Close()) {
    messenger_.FileError(sourceName_, source_.error());
    return false;
  }
  return true;
}

bool CLogFile::UseSkipping(ScanMode scan, std::uint64_t length) const {
  return scan == ScanMode::Skipping || (scan == ScanMode::BySize && length >= kSkippingScanMinimum);
}

std::optional<CNameError> CLogFile::MakeOldLogNames(int number, int lower, int upper, NamingForm form,
                                                    SplitMethod method, std::uint32_t& state,
                                                    const std::vector<std::string>& alsoTaken) {
  NamingRequest request;
  request.logName = entry_->name;
  request.kind = entry_->kind;
  request.number = number;
  request.lower = lower;
  request.upper = upper;
  request.form = form;
  request.method = method;
  request.today = clock_.Now();
  // An object is named once; a second call starts over rather than mixing
  // two plans in one list.
  FolderNames folder = FolderNames::List(folder_);
  folder.Add(alsoTaken);
  plan_ = PlanOldLogNames(request, state, folder);
  state = plan_.state;
  return plan_.failure;
}

bool CLogFile::MakeHeaderLines(const std::string& forumName, const std::string& roomName,
                               std::vector<std::string>& lines) {
  // The ranges come from the cut points: without a plan there are no lines.
  if (plan_.cutPoints.size() < 2) return false;
  for (std::string& line :
       ForumHeaderLines(forumName, roomName, entry_->room, entry_->lowest, plan_.cutPoints, clock_.Now())) {
    lines.push_back(std::move(line));
  }
  return true;
}
