#pragma once
#include <string>
#include <string_view>

class Messenger;

// What a command cut short left in a forum folder (a power cut, a kill, a
// crash) is resolved before anything else is done there: commits that had
// begun are finished, the rest taken back. The user is told of each.
struct RepairReport {
  int resolved = 0;  // commands finished or taken back
  int problems = 0;  // left for a later run, or messages only in a backup
};
// Runs only under the forum's lock: a journal whose run is alive is its
// run's alone, also in the moment before the run locks the journal itself.
RepairReport RepairForumFolder(Messenger& messenger, const std::string& folderPath);

// For a program that only reads the forum (Kiv showing it, kiv-batch's list
// and analysis): the repair runs when the forum's lock is free at once, and
// the lock goes again after it. When another program holds the forum,
// nothing is done or said: the holder repairs.
RepairReport RepairForumIfFree(Messenger& messenger, const std::string& folderPath, std::string_view program);

// For a run that only plans (a dry run), which neither holds nor repairs:
// the name of a journal a run cut short left in the folder, or empty.
std::string JournalLeftIn(const std::string& folderPath);
