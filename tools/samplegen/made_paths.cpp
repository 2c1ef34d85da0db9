#include "tools/samplegen/made_paths.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_ops.h"

namespace samplegen {

bool MadePaths::Folder(const std::string& path, std::string* error) {
  // The missing folders from the outermost in: each prefix ending before a "/".
  std::vector<std::string> missing;
  for (std::string p = path; !p.empty() && !plat::FileExists(p);) {
    missing.push_back(p);
    std::size_t slash = p.find_last_of('/');
    if (slash == std::string::npos || slash == 0) break;
    p.resize(slash);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (::mkdir(it->c_str(), 0777) == 0) {
      folders_.push_back(*it);
    } else if (errno != EEXIST) {
      *error = *it + ": " + std::strerror(errno);
      return false;
    }
  }
  if (!plat::IsDirectory(path)) {
    *error = path + ": " + std::strerror(ENOTDIR);
    return false;
  }
  return true;
}

void MadePaths::TakeBack() {
  for (auto it = files_.rbegin(); it != files_.rend(); ++it) plat::DeleteFile(*it);
  for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) ::rmdir(it->c_str());
  files_.clear();
  folders_.clear();
}

}  // namespace samplegen
