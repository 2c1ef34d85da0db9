#pragma once
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "engine/naming_error.h"
#include "ports/split_forms.h"

class FolderNames;

// What one log's split is to be named after.
struct NamingRequest {
  std::string logName;  // the log's file name, e.g. MES_05.LOG
  int kind = 0;         // kKindBody or kKindTitle (archive names carry it)
  int number = 0;       // the cut value: where to cut (single), or the step (multiple)
  int lower = 0;        // the range of message numbers the cuts are planned over
  int upper = 0;
  NamingForm form = NamingForm::Archive;
  SplitMethod method = SplitMethod::Single;
  std::time_t today = 0;  // archive names carry its year and month
};

// Where a log is cut and what its outputs are called.
struct NamingPlan {
  std::vector<std::int32_t> cutPoints;  // 0, the cuts, 65536: output i takes cut[i] < n <= cut[i+1]
  std::vector<std::string> names;       // the old logs, then the log's own name; none when naming failed
  std::optional<CNameError> failure;
  // The room's naming state after this log: the state the room's next log
  // is named with.
  std::uint32_t state = kNamingFresh;
};

// Plans the cuts and names the old logs of one log. state is the room's
// naming state within one split command (kNamingFresh for its first log):
// the first log of a room fixes the archive letters or the first ".M"
// serial, the room's other log follows it so that both get matching names.
// A pure function of its arguments: folder is only asked which names are in
// use.
NamingPlan PlanOldLogNames(const NamingRequest& request, std::uint32_t state, const FolderNames& folder);
