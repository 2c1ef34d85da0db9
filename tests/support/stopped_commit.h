#pragma once
#include <string>

// Leaves in forum what a kill leaves when it strikes a split of log just
// after the commit was journaled and before any file moved: the journal,
// and the old log and the new log under their temporary names, holding
// oldText and newText. The log itself is untouched. False when it could not
// be made so.
bool LeaveStoppedSplit(const std::string& forum, const std::string& log, const std::string& backup,
                       const std::string& oldLog, const std::string& oldText, const std::string& newText);
