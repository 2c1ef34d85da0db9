// Analysis: one pass over a log that finds its lowest and highest message
// number and the forum header line before its messages.
#include <algorithm>
#include <cstring>

#include "engine/engine_messages.h"
#include "engine/header_templates.h"
#include "engine/log_file.h"
#include "engine/progress_steps.h"
#include "platform/file_ops.h"

namespace {

constexpr std::size_t kHeaderTextMax = 99;
const char kActionAnalyze[] = "解析";

}  // namespace

bool CLogFile::Analyze() {
  if (!source_.IsOpen()) return false;
  if (OwnTemplatePair(entry_->kind) < 0) return false;

  plat::FileStatus status;
  int err = 0;
  if (!plat::GetFileStatus(plat::JoinPath(folder_, sourceName_), &status, &err)) {
    messenger_.FileError(sourceName_, err);
    return false;
  }
  // The split command compares this time with the file's later, so it is
  // kept even when the analysis finds nothing.
  entry_->modificationTime = status.mtime;
  const std::uint64_t length = status.size > 0 ? static_cast<std::uint64_t>(status.size) : 0;

  long long lineCount = 0;
  std::uint64_t bytes = 0;
  ProgressSteps progress(progress_, length);
  int lowest = kNoHighest;
  int highest = 0;
  std::string headerText;

  int last = FillWindow();
  progress.Begin(kActionAnalyze);
  while (!SlotEmpty(current_)) {
    const HeaderMatch match = MatchHeader(current_, MatchMode::AllKinds);
    if (match.mixed) {
      messenger_.MixedLogError(entry_->name, static_cast<int>(lineCount + 1));
      progress.End();
      return false;
    }
    if (match.lines > 0) {
      if (match.number >= kNoHighest) {
        // 65536 and above are the sentinel and beyond: a range holding them
        // reads as "not analysed" to the split command, which would send the
        // user back to analysis forever without a word. The entry is marked
        // not analysed, so every later split of the room comes back here and
        // the user is told why, instead of a split going ahead on old figures.
        ShowLineProblem(messenger_, entry_->name, lineCount + 1, kMsgNumberOutOfRange,
                        kMsgNumberOutOfRangeCaption, false);
        entry_->lowest = kNoLowest;
        entry_->highest = kNoHighest;
        progress.End();
        return false;
      }
      lineCount += match.lines;
      lowest = std::min(lowest, match.number);
      highest = std::max(highest, match.number);
      if (headerText.empty() && lineStart_[last] && window_[last][0] == '-') {
        const char* line = window_[last];
        std::size_t n = static_cast<std::size_t>(slotLength_[last]);
        if (const void* lf = std::memchr(line, '\n', n)) n = static_cast<std::size_t>(static_cast<const char*>(lf) - line);
        headerText.assign(line, std::min(n, kHeaderTextMax));
      }
      last = Advance(match.lines, bytes, nullptr);
    } else {
      ++lineCount;
      last = Advance(1, bytes, nullptr);
    }
    progress.Consumed(bytes);
  }
  if (readError_ != 0) {
    messenger_.FileError(sourceName_, readError_);
    progress.End();
    return false;
  }
  progress.Complete();

  const bool found = highest >= lowest;
  if (found) {
    entry_->lowest = lowest;
    entry_->highest = highest;
    entry_->headerText = headerText;
  }
  progress.End();
  return found;
}
