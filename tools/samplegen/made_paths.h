#pragma once
#include <string>
#include <vector>

namespace samplegen {

// What one run of the generator has made, so that a run failing part way can
// take it all back and leave the target folder as it found it. Only what the
// run itself created is ever removed.
class MadePaths {
 public:
  MadePaths() = default;
  MadePaths(const MadePaths&) = delete;
  MadePaths& operator=(const MadePaths&) = delete;

  // Makes the folder and its missing parents, noting each one made. False
  // with *error (folder and reason) when one can't be made.
  bool Folder(const std::string& path, std::string* error);

  // Notes a file the run has written in full.
  void File(const std::string& path) { files_.push_back(path); }

  // Removes the noted files, newest first, then the noted folders, deepest
  // first (a folder something else has since been put into stays).
  void TakeBack();

 private:
  std::vector<std::string> files_;
  std::vector<std::string> folders_;
};

}  // namespace samplegen
