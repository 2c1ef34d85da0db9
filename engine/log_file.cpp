#include "engine/log_file.h"

#include <utility>

#include "platform/file_ops.h"

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
