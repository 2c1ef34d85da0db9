// Splitting: one pass over the log's backup that writes every message into
// the output its number belongs to. Either every output reaches the disk or
// none is left behind: the backup then still holds the whole log.
#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "engine/engine_messages.h"
#include "engine/header_scan.h"
#include "engine/header_templates.h"
#include "engine/line_window.h"
#include "engine/log_file.h"
#include "engine/progress_steps.h"
#include "engine/split_outputs.h"
#include "platform/file_ops.h"
#include "platform/interrupt.h"

namespace {

const char kActionSplit[] = "分割";

}  // namespace

// What one split pass did.
struct CLogFile::SplitFindings {
  std::vector<CLogFile::OutputMeasure> outputs;  // what went into each output
  int failedOutput = -1;                         // the output whose write failed, already told
  bool failed = false;
  int lastOutput = -1;      // where the last message went
  plat::FileStatus newLog;  // the log's new file once written
};

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
    ShowLineProblem(messenger_, entry_->name, line, ids::kMsgNumberOutOfRange, ids::kMsgNumberOutOfRangeCaption, false);
    done.failed = true;
    return -1;
  }
  // cut[i] < n <= cut[i+1]: the first cut not below n closes output i.
  // Messages mostly go where the one before went, so that is looked at first.
  int output = done.lastOutput;
  const std::vector<std::int32_t>& cuts = plan_.cutPoints;
  if (output < 0 ||
      !(cuts[static_cast<std::size_t>(output)] < number && number <= cuts[static_cast<std::size_t>(output) + 1])) {
    const auto closing = std::lower_bound(cuts.begin() + 1, cuts.end(), number);
    output = static_cast<int>(closing - cuts.begin()) - 1;
    done.lastOutput = output;
  }
  OutputMeasure& range = done.outputs[static_cast<std::size_t>(output)];
  range.lowest = std::min(range.lowest, number);
  range.highest = std::max(range.highest, number);
  return output;
}

bool CLogFile::Interrupted(SplitFindings& done) {
  if (!plat::InterruptRequested()) return false;
  interrupted_ = true;
  done.failed = true;
  return true;
}

bool CLogFile::WriteFailed(SplitOutputs& outputs, int output, SplitFindings& done) {
  if (!outputs.WriteFailed(static_cast<std::size_t>(output))) return false;
  done.failedOutput = output;
  done.failed = true;
  return true;
}

void CLogFile::SplitLineByLine(ProgressSteps& progress, SplitOutputs& outputs, SplitFindings& done) {
  LineWindow window(source_, OwnTemplatePair(entry_->kind));
  std::uint64_t bytes = 0;
  long long lineCount = 0;
  int current = -1;  // none before the first header: the old forum header line is dropped
  const bool manyOutputs = outputs.size() > 2;
  window.Fill();
  while (!window.Ended()) {
    const LineWindow::HeaderMatch match = window.MatchHeader(LineWindow::MatchMode::OwnKind);
    int lines = 1;
    if (match.lines > 0) {
      if (Interrupted(done)) break;
      const int next = OutputFor(match.number, lineCount + 1, done);
      if (next < 0) break;
      if (next != current && current >= 0 && manyOutputs) outputs[static_cast<std::size_t>(current)].Release();
      current = next;
      lines = match.lines;
    }
    lineCount += lines;
    plat::TextWriter* output = current >= 0 ? &outputs[static_cast<std::size_t>(current)] : nullptr;
    window.Advance(lines, bytes, output);
    if (output && WriteFailed(outputs, current, done)) break;
    progress.Consumed(bytes);
  }
  if (window.readError() != 0) readError_ = window.readError();
}

void CLogFile::SplitBySkipping(ProgressSteps& progress, SplitOutputs& outputs, SplitFindings& done) {
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
        const long long line = number > kNoHighest ? PieceLineAt(source_, scan.header().offset, &readError_) : 0;
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

bool CLogFile::RunSplit(const std::vector<std::string>& headerLines, ScanMode scan, SplitOutputs& outputs,
                        SplitFindings& done) {
  if (!source_.IsOpen()) return false;
  interrupted_ = false;
  // Without a plan, or with fewer header lines than outputs, nothing is made.
  const std::vector<std::string>& names = plan_.names;
  if (plan_.cutPoints.size() < 2 || names.size() != plan_.cutPoints.size() - 1) return false;
  if (OwnTemplatePair(entry_->kind) < 0) return false;
  const std::size_t count = names.size();
  const bool body = entry_->kind == kKindBody;
  if (body && headerLines.size() < count) return false;
  if (outputs.size() != count) return false;

  if (!outputs.Create(body ? &headerLines : nullptr)) return false;

  plat::FileStatus sourceStatus;
  const std::uint64_t length =
      plat::GetFileStatus(plat::JoinPath(folder_, sourceName_), &sourceStatus) && sourceStatus.size > 0
          ? static_cast<std::uint64_t>(sourceStatus.size)
          : 0;  // only the progress display (and the choice of pass) needs it
  ProgressSteps progress(progress_, length);
  done.outputs.assign(count, OutputMeasure{});
  const int lastOutput = static_cast<int>(count) - 1;

  progress.Begin(kActionSplit);
  if (UseSkipping(scan, length)) {
    SplitBySkipping(progress, outputs, done);
  } else {
    SplitLineByLine(progress, outputs, done);
  }
  bool failed = done.failed;
  if (!failed && SourceReadFailed()) failed = true;
  if (!failed) progress.Complete();

  // A failure that came from no output (a read error, a number out of range)
  // still has to skip the syncs: it is passed as an output past the last.
  const int toldOutput = !failed ? -1 : done.failedOutput >= 0 ? done.failedOutput : lastOutput + 1;
  if (!outputs.Finish(toldOutput)) failed = true;

  if (!failed && outputs.WritesFiles()) {
    int err = 0;
    if (!plat::GetFileStatus(outputs.Path(count - 1), &done.newLog, &err)) {
      messenger_.FileError(entry_->name, err);
      failed = true;
    }
  }
  if (failed) {
    outputs.Discard();
    progress.End();
    return false;
  }
  outputs.Commit();
  for (std::size_t i = 0; i < count; ++i) done.outputs[i].bytes = outputs.Bytes(i);
  progress.End();
  return true;
}

bool CLogFile::Split(const std::vector<std::string>& headerLines, ScanMode scan) {
  const std::vector<std::string>& names = plan_.names;
  if (!outputNames_.empty() && outputNames_.size() != names.size()) return false;
  SplitOutputs outputs(folder_, outputNames_.empty() ? names : outputNames_, names, messenger_);
  SplitFindings done;
  if (!RunSplit(headerLines, scan, outputs, done)) return false;

  previousLowest_ = entry_->lowest;
  previousHighest_ = entry_->highest;
  const OutputMeasure& kept = done.outputs.back();
  if (kept.highest >= kept.lowest) {
    entry_->lowest = kept.lowest;
    entry_->highest = kept.highest;
  } else {
    entry_->ForgetRange();
  }
  entry_->modificationTime = done.newLog.mtime;
  entry_->size = done.newLog.size;
  return true;
}

bool CLogFile::MeasureSplit(const std::vector<std::string>& headerLines, std::vector<OutputMeasure>& measures,
                            ScanMode scan) {
  const std::vector<std::string>& names = plan_.names;
  SplitOutputs outputs(folder_, names, names, messenger_, SplitOutputs::Sink::CountOnly);
  SplitFindings done;
  if (!RunSplit(headerLines, scan, outputs, done)) return false;
  measures = std::move(done.outputs);
  return true;
}
