#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace plat {

struct FoundItem {
  std::string name;
  bool isDirectory = false;
  std::int64_t size = 0;
  std::time_t mtime = 0;
};

// True when name matches the wildcard pattern ("*" any run, "?" one
// character) without regard to ASCII case. "*.*" matches every name, also
// one without a dot, as the host's directory search does.
bool MatchesPattern(const std::string& pattern, const std::string& name);

// Lists folder and returns the items matching pattern ("." and ".." left
// out), sorted by name without regard to ASCII case so that every scan sees
// the same order. A folder that can't be listed gives no items, false and
// *err set.
bool FindFiles(const std::string& folder, const std::string& pattern, std::vector<FoundItem>* items,
               int* err = nullptr);

}  // namespace plat
