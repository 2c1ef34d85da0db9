#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

// The forum header lines of one split, CP932 without line end: one per old
// log, carrying the range of message numbers it covers, then one for the
// log's new file. forumName is the forum folder's name as the file system
// gives it (UTF-8 here); roomName the room's name from the room list
// (CP932), empty when the room has none; lowest the log's lowest number
// (the first old log's range starts there); cutPoints the plan's (0, the
// cuts, 65536). Every line carries the date of today. No lines without a
// plan (fewer than two cut points).
std::vector<std::string> ForumHeaderLines(const std::string& forumName, const std::string& roomName, int room,
                                          int lowest, const std::vector<std::int32_t>& cutPoints, std::time_t today);
