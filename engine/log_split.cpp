// Splitting: one pass over the log's backup that writes every message into
// the output its number belongs to. Either every output reaches the disk or
// none is left behind: the backup then still holds the whole log.
#include <algorithm>
#include <climits>

#include "engine/engine_messages.h"
#include "engine/header_templates.h"
#include "engine/log_file.h"
#include "engine/progress_steps.h"
#include "platform/file_ops.h"
#include "platform/text_writer.h"

namespace {

const char kActionSplit[] = "分割";

}  // namespace

bool CLogFile::CreateOutputs(const std::vector<std::string>& headerLines,
                             std::vector<plat::TextWriter>& outputs) {
  const bool body = entry_->kind == kKindBody;
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    // A file that already holds the name is somebody's data (the host may
    // have started a new log meanwhile): it is never replaced.
    plat::TextWriter& out = outputs[i];
    bool ok = out.Open(plat::JoinPath(folder_, names_[i]), plat::TextWriter::Mode::CreateNew);
    if (ok && body) ok = out.Write(headerLines[i]) && out.Write("\n", 1);
    if (!ok) {
      messenger_.FileError(names_[i], out.error());
      const bool created = out.IsOpen();
      if (created) out.Close();
      for (std::size_t j = 0; j < i; ++j) {
        if (!outputs[j].Close()) messenger_.FileError(names_[j], outputs[j].error());
      }
      DeleteOutputs(created ? i + 1 : i);
      return false;
    }
  }
  return true;
}

bool CLogFile::FinishOutputs(std::vector<plat::TextWriter>& outputs, int failedOutput) {
  // With a failure already known nothing is kept, so nothing needs syncing;
  // the output that failed was reported when it failed.
  bool ok = failedOutput < 0;
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    plat::TextWriter& out = outputs[i];
    bool done = true;
    if (ok) done = out.Sync();
    done = out.Close() && done;
    if (!done && static_cast<int>(i) != failedOutput) {
      messenger_.FileError(names_[i], out.error());
      ok = false;
    }
  }
  return ok;
}

void CLogFile::DeleteOutputs(std::size_t count) {
  for (std::size_t i = 0; i < count && i < names_.size(); ++i) {
    int err = 0;
    if (!plat::DeleteFile(plat::JoinPath(folder_, names_[i]), &err)) messenger_.FileError(names_[i], err);
  }
}

bool CLogFile::SourceReadFailed() {
  if (readError_ == 0) return false;
  messenger_.FileError(sourceName_, readError_);
  return true;
}

bool CLogFile::Split(const std::vector<std::string>& headerLines) {
  if (!source_.IsOpen()) return false;
  // Without a plan, or with fewer header lines than outputs, nothing is made.
  if (cutPoints_.size() < 2 || names_.size() != cutPoints_.size() - 1) return false;
  if (OwnTemplatePair(entry_->kind) < 0) return false;
  const std::size_t count = names_.size();
  if (entry_->kind == kKindBody && headerLines.size() < count) return false;

  std::vector<plat::TextWriter> outputs(count);
  if (!CreateOutputs(headerLines, outputs)) return false;

  plat::FileStatus sourceStatus;
  const std::uint64_t length =
      plat::GetFileStatus(plat::JoinPath(folder_, sourceName_), &sourceStatus) && sourceStatus.size > 0
          ? static_cast<std::uint64_t>(sourceStatus.size)
          : 0;  // only the progress display needs it
  std::uint64_t bytes = 0;
  ProgressSteps progress(progress_, length);
  int lowest = kNoHighest;
  int highest = 0;
  long long lineCount = 0;
  const int lastOutput = static_cast<int>(count) - 1;
  int currentOutput = -1;  // none before the first header: the old forum header line is dropped
  int failedOutput = -1;
  bool failed = false;

  FillWindow();
  progress.Begin(kActionSplit);
  while (!SlotEmpty(current_)) {
    const HeaderMatch match = MatchHeader(current_, MatchMode::OwnKind);
    int lines = 1;
    if (match.lines > 0) {
      if (match.number > kNoHighest) {
        // No output's range holds it, and sending it after the message before
        // would file it under a range it lies outside. The split is refused
        // and the user told where.
        ShowLineProblem(messenger_, entry_->name, lineCount + 1, kMsgNumberOutOfRange,
                        kMsgNumberOutOfRangeCaption, false);
        failed = true;
        break;
      }
      // cut[i] < n <= cut[i+1]: the first cut not below n closes output i.
      const auto closing = std::lower_bound(cutPoints_.begin() + 1, cutPoints_.end(), match.number);
      currentOutput = static_cast<int>(closing - cutPoints_.begin()) - 1;
      if (currentOutput == lastOutput) {
        lowest = std::min(lowest, match.number);
        highest = std::max(highest, match.number);
      }
      lines = match.lines;
    }
    lineCount += lines;
    plat::TextWriter* output = currentOutput >= 0 ? &outputs[static_cast<std::size_t>(currentOutput)] : nullptr;
    Advance(lines, bytes, output);
    if (output && output->error() != 0) {
      // A full disk or an I/O error: what is written so far is not the log.
      messenger_.FileError(names_[static_cast<std::size_t>(currentOutput)], output->error());
      failedOutput = currentOutput;
      failed = true;
      break;
    }
    progress.Consumed(bytes);
  }
  if (!failed && SourceReadFailed()) failed = true;
  if (!failed) progress.Complete();

  // A failure that came from no output (a read error, a number out of range)
  // still has to skip the syncs: it is passed as an output past the last.
  const int toldOutput = !failed ? -1 : failedOutput >= 0 ? failedOutput : lastOutput + 1;
  if (!FinishOutputs(outputs, toldOutput)) failed = true;

  plat::FileStatus newStatus;
  if (!failed) {
    int err = 0;
    if (!plat::GetFileStatus(plat::JoinPath(folder_, entry_->name), &newStatus, &err)) {
      messenger_.FileError(entry_->name, err);
      failed = true;
    }
  }
  if (failed) {
    DeleteOutputs(count);
    progress.End();
    return false;
  }

  previousLowest_ = entry_->lowest;
  previousHighest_ = entry_->highest;
  if (highest >= lowest) {
    entry_->lowest = lowest;
    entry_->highest = highest;
  } else {
    entry_->lowest = kNoLowest;
    entry_->highest = kNoHighest;
  }
  entry_->modificationTime = newStatus.mtime;
  entry_->size = newStatus.size > INT_MAX ? INT_MAX : static_cast<int>(newStatus.size);
  progress.End();
  return true;
}
