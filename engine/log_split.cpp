// Splitting: one pass over the log's backup that writes every message into
// the output its number belongs to. Either every output reaches the disk or
// none is left behind: the backup then still holds the whole log.
#include <algorithm>
#include <climits>

#include "engine/engine_messages.h"
#include "engine/header_scan.h"
#include "engine/header_templates.h"
#include "engine/log_file.h"
#include "engine/progress_steps.h"
#include "platform/file_ops.h"
#include "platform/interrupt.h"
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
    bool ok = out.Open(plat::JoinPath(folder_, OutputName(i)), plat::TextWriter::Mode::CreateNew);
    if (ok && body) ok = out.Write(headerLines[i]) && out.Write("\n", 1);
    // The buffer goes on to the next output: only the one being written
    // holds one.
    if (ok) ok = out.Release();
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
    if (!plat::DeleteFile(plat::JoinPath(folder_, OutputName(i)), &err)) messenger_.FileError(OutputName(i), err);
  }
}

bool CLogFile::SourceReadFailed() {
  // Outputs made from a log whose input stopped at an end-of-text byte
  // would drop everything after it once the backup goes.
  if (readError_ == 0) return EndMarkHidesData();
  messenger_.FileError(sourceName_, readError_);
  return true;
}

int CLogFile::OutputFor(int number, long long line, SplitFindings& done) {
  if (number > kNoHighest) {
    // No output's range holds it, and sending it after the message before
    // would file it under a range it lies outside. The split is refused and
    // the user told where.
    ShowLineProblem(messenger_, entry_->name, line, kMsgNumberOutOfRange, kMsgNumberOutOfRangeCaption, false);
    done.failed = true;
    return -1;
  }
  // cut[i] < n <= cut[i+1]: the first cut not below n closes output i.
  // Messages mostly go where the one before went, so that is looked at first.
  int output = done.lastOutput;
  if (output < 0 || !(cutPoints_[static_cast<std::size_t>(output)] < number &&
                      number <= cutPoints_[static_cast<std::size_t>(output) + 1])) {
    const auto closing = std::lower_bound(cutPoints_.begin() + 1, cutPoints_.end(), number);
    output = static_cast<int>(closing - cutPoints_.begin()) - 1;
    done.lastOutput = output;
  }
  if (output == static_cast<int>(names_.size()) - 1) {
    done.lowest = std::min(done.lowest, number);
    done.highest = std::max(done.highest, number);
  }
  return output;
}

bool CLogFile::Interrupted(SplitFindings& done) {
  if (!plat::InterruptRequested()) return false;
  interrupted_ = true;
  done.failed = true;
  return true;
}

bool CLogFile::WriteFailed(std::vector<plat::TextWriter>& outputs, int output, SplitFindings& done) {
  const plat::TextWriter& out = outputs[static_cast<std::size_t>(output)];
  if (out.error() == 0) return false;
  // A full disk or an I/O error: what is written so far is not the log.
  messenger_.FileError(names_[static_cast<std::size_t>(output)], out.error());
  done.failedOutput = output;
  done.failed = true;
  return true;
}

void CLogFile::SplitLineByLine(ProgressSteps& progress, std::vector<plat::TextWriter>& outputs,
                               SplitFindings& done) {
  std::uint64_t bytes = 0;
  long long lineCount = 0;
  int current = -1;  // none before the first header: the old forum header line is dropped
  const bool manyOutputs = outputs.size() > 2;
  FillWindow();
  while (!SlotEmpty(current_)) {
    const HeaderMatch match = MatchHeader(current_, MatchMode::OwnKind);
    int lines = 1;
    if (match.lines > 0) {
      if (Interrupted(done)) return;
      const int next = OutputFor(match.number, lineCount + 1, done);
      if (next < 0) return;
      if (next != current && current >= 0 && manyOutputs) outputs[static_cast<std::size_t>(current)].Release();
      current = next;
      lines = match.lines;
    }
    lineCount += lines;
    plat::TextWriter* output = current >= 0 ? &outputs[static_cast<std::size_t>(current)] : nullptr;
    Advance(lines, bytes, output);
    if (output && WriteFailed(outputs, current, done)) return;
    progress.Consumed(bytes);
  }
}

void CLogFile::SplitBySkipping(ProgressSteps& progress, std::vector<plat::TextWriter>& outputs,
                               SplitFindings& done) {
  // A header of the other kind is message text here, and so is one
  // numbered 0.
  const int own = OwnTemplatePair(entry_->kind);
  HeaderScan scan(source_, own, own + 2);
  int current = -1;  // none before the first header: the old forum header line is dropped
  // Only the output being written keeps a buffer, so memory stays flat
  // however many old logs a split makes.
  const bool manyOutputs = outputs.size() > 2;
  std::uint64_t from = 0;  // what lies between here and the scan goes to the current output
  // Messages that follow each other into one output go out as one stretch,
  // as the file holds it.
  const auto passOn = [&](std::uint64_t to) {
    if (current >= 0 && to > from) {
      outputs[static_cast<std::size_t>(current)].WriteFileText(scan.Bytes(from, to));
      if (WriteFailed(outputs, current, done)) return false;
    }
    from = std::max(from, to);
    return true;
  };
  for (;;) {
    const HeaderScan::Step step = scan.Next();
    if (step == HeaderScan::Step::Failed) {
      readError_ = source_.error();
      return;
    }
    if (step == HeaderScan::Step::End) {
      passOn(scan.heldEnd());
      return;
    }
    if (step == HeaderScan::Step::Moved && !passOn(scan.settled())) return;
    if (step == HeaderScan::Step::Header) {
      if (Interrupted(done)) return;
      const int number = HeaderNumber(scan.header().text);
      if (number > 0) {
        const long long line = number > kNoHighest ? LineNumberAt(scan.header().offset) : 0;
        if (readError_ != 0) return;  // the line could not be counted: the read error is told
        const int next = OutputFor(number, line, done);
        if (next < 0) return;
        if (next != current) {
          if (!passOn(scan.header().offset)) return;
          if (current >= 0 && manyOutputs) outputs[static_cast<std::size_t>(current)].Release();
          current = next;
        }
      }
    }
    progress.ConsumedUpTo(scan.offset());
  }
}

bool CLogFile::Split(const std::vector<std::string>& headerLines, ScanMode scan) {
  if (!source_.IsOpen()) return false;
  interrupted_ = false;
  // Without a plan, or with fewer header lines than outputs, nothing is made.
  if (cutPoints_.size() < 2 || names_.size() != cutPoints_.size() - 1) return false;
  if (OwnTemplatePair(entry_->kind) < 0) return false;
  const std::size_t count = names_.size();
  if (entry_->kind == kKindBody && headerLines.size() < count) return false;
  if (!outputNames_.empty() && outputNames_.size() != count) return false;

  std::vector<plat::TextWriter> outputs(count);
  if (!CreateOutputs(headerLines, outputs)) return false;

  plat::FileStatus sourceStatus;
  const std::uint64_t length =
      plat::GetFileStatus(plat::JoinPath(folder_, sourceName_), &sourceStatus) && sourceStatus.size > 0
          ? static_cast<std::uint64_t>(sourceStatus.size)
          : 0;  // only the progress display (and the choice of pass) needs it
  ProgressSteps progress(progress_, length);
  SplitFindings done;
  const int lastOutput = static_cast<int>(count) - 1;

  progress.Begin(kActionSplit);
  if (UseSkipping(scan, length)) {
    SplitBySkipping(progress, outputs, done);
  } else {
    SplitLineByLine(progress, outputs, done);
  }
  bool failed = done.failed;
  const int failedOutput = done.failedOutput;
  const int lowest = done.lowest;
  const int highest = done.highest;
  if (!failed && SourceReadFailed()) failed = true;
  if (!failed) progress.Complete();

  // A failure that came from no output (a read error, a number out of range)
  // still has to skip the syncs: it is passed as an output past the last.
  const int toldOutput = !failed ? -1 : failedOutput >= 0 ? failedOutput : lastOutput + 1;
  if (!FinishOutputs(outputs, toldOutput)) failed = true;

  plat::FileStatus newStatus;
  if (!failed) {
    int err = 0;
    if (!plat::GetFileStatus(plat::JoinPath(folder_, OutputName(count - 1)), &newStatus, &err)) {
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
  entry_->size = newStatus.size;
  progress.End();
  return true;
}
