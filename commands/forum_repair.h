#pragma once
#include <string>

class Messenger;

// What a command cut short left in a forum folder (a power cut, a kill, a
// crash) is resolved before anything else is done there: commits that had
// begun are finished, the rest taken back. The user is told of each.
struct RepairReport {
  int resolved = 0;  // commands finished or taken back
  int problems = 0;  // left for a later run, or messages only in a backup
};
RepairReport RepairForumFolder(Messenger& messenger, const std::string& folderPath);
