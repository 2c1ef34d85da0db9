#pragma once
#include <cstdio>
#include <optional>
#include <string>

#include "batch/batch_command.h"

class Clock;
struct RoomRange;

// The number maintain cuts a room at (the cut number of a single-room split,
// method 0), or none when the split would move no message out of the room's
// logs: none of them holds a message at or below that number.
std::optional<int> MaintainCut(const MaintainCommand& command, const RoomRange& room);

// kiv-batch maintain over the shared log folder at sharedPath (absolute,
// without trailing separator): one run per forum folder, in the tree's
// order, each holding its forum, repairing, splitting the rooms that have
// messages to move, exporting when asked and writing its history. A forum
// that fails does not stop the others. At the end, the summary, one line
// per forum, goes to out; messages go to err. Returns the exit status of the
// whole run; kExitUsage, with nothing touched, for a forum name not found.
int RunMaintain(const std::string& sharedPath, const MaintainCommand& command, std::FILE* out, std::FILE* err,
                const Clock* clock = nullptr);
