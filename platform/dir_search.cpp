#include "platform/dir_search.h"

#include <algorithm>
#include <cerrno>

#include "platform/fault_injection.h"
#include "platform/native_file.h"

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
    if (p < pattern.size() && (pattern[p] == '?' || Upper(static_cast<unsigned char>(pattern[p])) ==
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

bool FindFiles(const std::string& folder, const std::string& pattern, std::vector<FoundItem>* items, int* err) {
  items->clear();
  if (int e = detail::InjectedError(FileOp::List, folder.c_str())) {
    if (err) *err = e;
    return false;
  }
  const int listErr = detail::ListFolder(folder, pattern, items);
  std::sort(items->begin(), items->end(), NameBefore);
  if (listErr != 0) {
    if (err) *err = listErr;
    return false;
  }
  return true;
}

}  // namespace plat
