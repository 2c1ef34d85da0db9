#pragma once
#include <string>
#include <utility>
#include <vector>

// The names a forum folder holds, as the naming of old logs sees them: which
// archive letters and serials are in use, and whether a name is taken.
class FolderNames {
 public:
  // Exactly these names, nothing else: what a plan is made against when no
  // folder is looked at.
  explicit FolderNames(std::vector<std::string> names) : names_(std::move(names)) {}

  // Lists folder once. Without the listing the letters and serials in use
  // are unknown: listError() then holds the listing's error and naming fails
  // with it. A name made since the listing still counts as taken.
  static FolderNames List(const std::string& folder);

  // Counts names as taken besides those listed: the old logs a dry run
  // plans are on disk by the time the real run names the next room's.
  void Add(const std::vector<std::string>& names) { names_.insert(names_.end(), names.begin(), names.end()); }

  // The folder listed, or empty.
  const std::string& folder() const { return folder_; }
  int listError() const { return listError_; }

  // The names matching a wildcard pattern, without regard to ASCII case.
  std::vector<std::string> Matching(const std::string& pattern) const;
  // A name the host's file system would take as that of an existing file
  // (it ignores case), or that exists in the listed folder as it is.
  bool Taken(const std::string& name) const;

 private:
  FolderNames() = default;

  std::vector<std::string> names_;
  std::string folder_;
  int listError_ = 0;
};
