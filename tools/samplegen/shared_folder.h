#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/samplegen/log_writer.h"

namespace samplegen {

// How the shared log folder is to look.
struct SharedFolderOptions {
  std::uint64_t seed = 1;
  int forums = 4;               // FORUM1 and FORUM2 at the top, the rest in GROUP1
  int rooms = 3;                // rooms 1 to rooms (at most 20) per forum
  int messages = 0;             // per room; 0: 8 to 40 drawn from the seed
  std::uint64_t sizeBytes = 0;  // per body log instead of messages
  int first = 1;                // first message number of every room
  int maxNumber = 65536;        // allow up to 99999 for numbers beyond the usual range
  bool shuffle = false;
  bool longLines = false;
  bool mixed = false;    // FORUM1's room 1 body log gets a title-format line
  bool archive = false;  // room 1 of each forum has old logs listed in AR.LST
};

struct RoomResult {
  int room = 0;
  std::string name;  // CP932; empty for a room the room list leaves unnamed
  std::string bodyPath, titlePath;
  LogResult body, title;
};

struct ForumResult {
  std::string name;  // the folder's own name, e.g. FORUM3
  std::string path;
  std::vector<RoomResult> rooms;
  std::vector<std::string> archiveLines;  // AR.LST lines without line end
};

struct SharedFolderResult {
  bool ok = false;
  std::string error;  // file and reason when !ok
  std::vector<ForumResult> forums;
};

// Makes the folder `dir` (and its parents) and fills it: forum folders with
// their MES.LOG, body and title logs; GROUP1 holding forum folders; an HP
// folder with a page and a log-named file, which a folder scan must skip.
// Existing files are never overwritten: generating into a folder that
// already holds a sample fails. A run that fails takes back every file and
// folder it made, and only those.
SharedFolderResult GenerateSharedFolder(const std::string& dir, const SharedFolderOptions& options);

}  // namespace samplegen
