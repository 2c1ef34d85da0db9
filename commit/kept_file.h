#pragma once
#include <string>

namespace commit {

// Gives a file that holds messages found nowhere else (a backup the host
// wrote into after its split, a log's file an undo displaced) a name no
// split ever replaces: the name of the log it belongs to up to its first "."
// and ".U" with two digits, the first one free (MES_01.U00). False when no
// name could be given.
bool KeepUnderOwnName(const std::string& folder, const std::string& name, const std::string& logName,
                      std::string* keptAs);

}  // namespace commit
