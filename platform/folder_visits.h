#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <utility>

namespace plat {

// Keeps a folder walk inside the shared log folder and off the folders it
// has already been in. A link to "/" or to a folder elsewhere would take the
// walk over the whole file system, and a link back into the tree would show
// the same forum twice (or go round for ever).
class FolderVisits {
 public:
  // root is entered at once.
  explicit FolderVisits(const std::string& root);

  // True when folder, links followed, lies inside the root and has not been
  // entered before; from then on it counts as entered.
  bool Enter(const std::string& folder);

 private:
  bool Mark(const std::string& folder);

  std::string realRoot_;
  std::set<std::pair<std::uint64_t, std::uint64_t>> entered_;  // (device, file number)
};

// Whether path is itself a symbolic link (not followed); on Windows any
// reparse point: a symbolic link or a junction.
bool IsLink(const std::string& path);

}  // namespace plat
