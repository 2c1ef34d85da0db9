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

// A generated shared folder in a fresh temporary folder: forums forum
// folders of rooms rooms, each room with messages 1 to messages.
samplegen::SharedFolderResult MakeSample(const std::string& dir, int rooms, int messages, int forums = 1);

// The body and the title log of room 1 of forum written anew with messages
// first to first + messages - 1; false when they could not be.
bool RewriteRoomOne(const std::string& forum, int first, int messages);

// One line of --json: a flat object of strings, numbers and nulls, read back
// as a script would; each value as text ("null" for null). Empty when the
// line is no such object.
std::map<std::string, std::string> ParseJsonLine(const std::string& line);

// How long kiv-batch waits for the forum, for as long as the object lives.
class LockWait {
 public:
  explicit LockWait(const char* ms) { Set(ms); }
  ~LockWait() { Set(""); }
  LockWait(const LockWait&) = delete;
  LockWait& operator=(const LockWait&) = delete;

 private:
  static void Set(const char* ms);
};

// The current local year and month as archive names carry them ("9802").
std::string ArchiveMonth();
std::string TodayForHeader();  // "98/02/10"
