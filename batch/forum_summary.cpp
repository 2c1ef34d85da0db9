#include "batch/forum_summary.h"

#include "batch/json_text.h"

void ForumSummary::Fail(const std::string& words) { failure += (failure.empty() ? "" : "; ") + words; }

std::string SummaryLine(const ForumSummary& s) {
  return s.forum + "\t" + std::to_string(s.roomsSplit) + "\t" + std::to_string(s.oldLogs) + "\t" +
         std::to_string(s.linesExported) + "\t" + std::to_string(s.linesDropped) + "\t" +
         (s.failure.empty() ? "ok" : s.failure);
}

std::string SummaryJsonLine(const ForumSummary& s) {
  return "{\"forum\":" + JsonString(s.forum) + ",\"roomsSplit\":" + std::to_string(s.roomsSplit) +
         ",\"oldLogs\":" + std::to_string(s.oldLogs) + ",\"linesExported\":" + std::to_string(s.linesExported) +
         ",\"linesDropped\":" + std::to_string(s.linesDropped) +
         ",\"failure\":" + (s.failure.empty() ? std::string("null") : JsonString(s.failure)) + "}";
}
