#include "tools/samplegen/made_paths.h"

#include <cerrno>
#include <cstring>

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
    int err = 0;
    if (plat::MakeFolder(*it, &err)) {
      folders_.push_back(*it);
    } else if (err != EEXIST) {
      *error = *it + ": " + std::strerror(err);
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
  for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) plat::RemoveFolder(*it);
  files_.clear();
  folders_.clear();
}

}  // namespace samplegen
