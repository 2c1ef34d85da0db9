#pragma once
#include <string>

// What kiv-batch maintain did to one forum folder.
struct ForumSummary {
  std::string forum;      // the folder's own name
  int roomsSplit = 0;     // rooms with at least one log split
  int oldLogs = 0;        // old logs made
  int linesExported = 0;  // lines appended to AR.LST
  int linesDropped = 0;   // lines the archive list check dropped from AR.LST
  std::string failure;    // what went wrong, in a few words; empty when all was done

  // Adds words to the failure, after what is there already.
  void Fail(const std::string& words);
};

// The summary's line for the forum, without line end: name, rooms split,
// old logs made, lines exported, lines dropped and "ok" or the failure,
// separated by tabs.
std::string SummaryLine(const ForumSummary& summary);

// The same as one JSON object: "forum", "roomsSplit", "oldLogs",
// "linesExported", "linesDropped" and "failure" (null when all was done).
std::string SummaryJsonLine(const ForumSummary& summary);
