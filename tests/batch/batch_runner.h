#pragma once
#include <map>
#include <string>
#include <vector>

#include "tools/samplegen/shared_folder.h"

// Runs the built kiv-batch as a script would, and looks at what it left.
struct BatchResult {
  int status = -1;
  std::string out;
  std::string err;
};

BatchResult RunBatch(const std::vector<std::string>& args, const std::string& stdinText = "");

// Name -> (size, last-write time, bytes) of every file of a folder.
struct FileState {
  std::string bytes;
  long long mtime = 0;
  bool operator==(const FileState&) const = default;
};
std::map<std::string, FileState> Snapshot(const std::string& folder);

// A generated shared folder in a fresh temporary folder; its first forum.
samplegen::SharedFolderResult MakeSample(const std::string& dir, int rooms, int messages);

// The current local year and month as archive names carry them ("9802").
std::string ArchiveMonth();
std::string TodayForHeader();  // "98/02/10"
