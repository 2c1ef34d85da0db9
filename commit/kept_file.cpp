#include "commit/kept_file.h"

#include <cerrno>
#include <cstdio>

#include "platform/file_ops.h"

namespace commit {

bool KeepUnderOwnName(const std::string& folder, const std::string& name, const std::string& logName,
                      std::string* keptAs) {
  const std::string stem = logName.substr(0, logName.find('.'));
  for (int n = 0; n < 100; ++n) {
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, ".U%02d", n);
    int err = 0;
    if (plat::RenameNoReplace(plat::JoinPath(folder, name), plat::JoinPath(folder, stem + suffix), &err)) {
      plat::SyncFolder(folder);
      *keptAs = stem + suffix;
      return true;
    }
    if (err != EEXIST) return false;
  }
  return false;
}

}  // namespace commit
