#include "engine/log_file.h"

#include <utility>

#include "platform/file_ops.h"

namespace {

// Below this size a log is read line by line: it costs nothing, and the
// progress display then steps once per line as the pass goes.
constexpr std::uint64_t kSkippingScanMinimum = 64 * 1024;

}  // namespace

CLogFile::CLogFile(std::string folder, CFileEntry* entry, Messenger& messenger, ProgressPort& progress,
                   const Clock& clock)
    : folder_(std::move(folder)), entry_(entry), messenger_(messenger), progress_(progress), clock_(clock) {
  window_[0][0] = '\0';
}

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

// The line number of the line starting at offset, as the line window counts
// lines (a long line counts once per piece): a pass that jumps reads the file
// again up to it, only to name the line in a message.
long long CLogFile::LineNumberAt(std::uint64_t offset) {
  if (!source_.Rewind()) {
    readError_ = source_.error();
    return 0;
  }
  char piece[kSlotSize];
  long long before = 0;
  while (source_.Offset() < offset) {
    const int length = source_.ReadLine(piece);
    if (length <= 0) {
      if (length < 0) readError_ = source_.error();
      break;
    }
    ++before;
  }
  return before + 1;
}
