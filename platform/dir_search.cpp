#include "platform/dir_search.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/fault_injection.h"

namespace plat {

namespace {
unsigned char Upper(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }

bool NameBefore(const FoundItem& a, const FoundItem& b) {
  const std::string& x = a.name;
  const std::string& y = b.name;
  std::size_t n = std::min(x.size(), y.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char cx = Upper(static_cast<unsigned char>(x[i]));
    unsigned char cy = Upper(static_cast<unsigned char>(y[i]));
    if (cx != cy) return cx < cy;
  }
  if (x.size() != y.size()) return x.size() < y.size();
  return x < y;  // names differing only in case: a fixed order all the same
}
}  // namespace

// Byte-wise, so that neither the locale nor CP932 or UTF-8 names change what
// matches, and with "[" and the backslash as plain characters, as the host's search
// takes them. A "*" that fails is retried one byte further on; only the
// last "*" needs retrying, which keeps the walk linear in practice.
bool MatchesPattern(const std::string& pattern, const std::string& name) {
  if (pattern == "*.*" || pattern == "*") return true;
  std::size_t p = 0, n = 0;
  std::size_t starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
      continue;
    }
    if (p < pattern.size() &&
        (pattern[p] == '?' || Upper(static_cast<unsigned char>(pattern[p])) ==
                                  Upper(static_cast<unsigned char>(name[n])))) {
      ++p;
      ++n;
      continue;
    }
    if (starP == std::string::npos) return false;
    p = starP + 1;
    n = ++starN;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool FindFiles(const std::string& folder, const std::string& pattern,
               std::vector<FoundItem>* items, int* err) {
  items->clear();
  if (int e = detail::InjectedError(FileOp::List, folder.c_str())) {
    if (err) *err = e;
    return false;
  }
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) {
    if (err) *err = errno;
    return false;
  }
  int dfd = ::dirfd(dir);
  for (;;) {
    errno = 0;
    struct dirent* ent = ::readdir(dir);
    if (!ent) break;
    std::string name = ent->d_name;
    if (name == "." || name == "..") continue;
    if (!MatchesPattern(pattern, name)) continue;
    FoundItem item;
    item.name = std::move(name);
    struct stat st;
    if (::fstatat(dfd, ent->d_name, &st, 0) == 0) {
      item.isDirectory = S_ISDIR(st.st_mode);
      item.size = st.st_size;
      item.mtime = st.st_mtim.tv_sec;
    } else {
      item.isDirectory = ent->d_type == DT_DIR;
    }
    items->push_back(std::move(item));
  }
  int readErr = errno;
  ::closedir(dir);
  std::sort(items->begin(), items->end(), NameBefore);
  if (readErr != 0) {
    if (err) *err = readErr;
    return false;
  }
  return true;
}

}  // namespace plat
