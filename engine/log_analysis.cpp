// Analysis: one pass over a log that finds its lowest and highest message
// number and the forum header line before its messages.
#include <algorithm>
#include <string_view>

#include "engine/engine_messages.h"
#include "engine/header_scan.h"
#include "engine/header_templates.h"
#include "engine/line_window.h"
#include "engine/log_file.h"
#include "engine/progress_steps.h"
#include "platform/file_ops.h"
#include "platform/interrupt.h"

namespace {

constexpr std::size_t kHeaderTextMax = 99;
const char kActionAnalyze[] = "解析";

}  // namespace

// What one analysis pass found.
struct CLogFile::Findings {
  int lowest = kNoHighest;
  int highest = 0;
  std::string headerText;
  enum class Problem { None, MixedLog, NumberOutOfRange, Interrupted } problem = Problem::None;
  long long problemLine = 0;  // 1-based, in lines as the line window counts them

  void TakeHeaderText(std::string_view line) {
    // The forum header line is the first "-" line right before a message.
    if (!headerText.empty() || line.empty() || line[0] != '-') return;
    line = line.substr(0, line.find('\n'));
    headerText.assign(line.substr(0, kHeaderTextMax));
  }
};

void CLogFile::AnalyzeLineByLine(ProgressSteps& progress, Findings& found) {
  LineWindow window(source_, OwnTemplatePair(entry_->kind));
  long long lineCount = 0;
  std::uint64_t bytes = 0;
  window.Fill();
  while (!window.Ended()) {
    const LineWindow::HeaderMatch match = window.MatchHeader(LineWindow::MatchMode::AllKinds);
    if (match.mixed || match.number >= kNoHighest) {
      found.problem = match.mixed ? Findings::Problem::MixedLog : Findings::Problem::NumberOutOfRange;
      found.problemLine = lineCount + 1;
      break;
    }
    if (match.lines > 0) {
      lineCount += match.lines;
      found.lowest = std::min(found.lowest, match.number);
      found.highest = std::max(found.highest, match.number);
      if (const auto before = window.PieceBefore()) found.TakeHeaderText(*before);
      window.Advance(match.lines, bytes, nullptr);
    } else {
      ++lineCount;
      window.Advance(1, bytes, nullptr);
    }
    progress.Consumed(bytes);
    if (plat::InterruptRequested()) {
      found.problem = Findings::Problem::Interrupted;
      break;
    }
  }
  if (window.readError() != 0) readError_ = window.readError();
}

void CLogFile::AnalyzeBySkipping(ProgressSteps& progress, Findings& found) {
  // Headers of the other kind too: a log holding both is refused.
  HeaderScan scan(source_, 0, static_cast<int>(kHeaderTemplates.size()));
  const int own = OwnTemplatePair(entry_->kind);
  for (;;) {
    const HeaderScan::Step step = scan.Next();
    if (step == HeaderScan::Step::End) return;
    if (step == HeaderScan::Step::Failed) {
      readError_ = source_.error();
      return;
    }
    if (step == HeaderScan::Step::Header) {
      const HeaderScan::Header& header = scan.header();
      const int pair = header.templateIndex < kFirstTitleTemplate ? kFirstBodyTemplate : kFirstTitleTemplate;
      // Templates of one pair never fit the same line, so the first that
      // fits decides, as it does line by line.
      const int number = pair == own ? HeaderNumber(header.text) : 0;
      if (pair != own || number >= kNoHighest) {
        found.problem = pair != own ? Findings::Problem::MixedLog : Findings::Problem::NumberOutOfRange;
        // The message names the line as the window counts lines: read the
        // file again up to it.
        found.problemLine = PieceLineAt(source_, header.offset, &readError_);
        if (readError_ != 0) found.problem = Findings::Problem::None;
        return;
      }
      if (number > 0) {
        found.lowest = std::min(found.lowest, number);
        found.highest = std::max(found.highest, number);
        // Where a header follows a header, the line before is a header
        // line: no forum header line, and nothing to look back for.
        if (found.headerText.empty() && !scan.FollowsHeader()) {
          if (const auto before = scan.LineBefore()) found.TakeHeaderText(*before);
        }
      }
    }
    // The line window counts each line's bytes less the CR text mode drops,
    // plus one: for a file of CR LF lines, just the bytes looked through.
    progress.ConsumedUpTo(scan.offset());
    if (plat::InterruptRequested()) {
      found.problem = Findings::Problem::Interrupted;
      return;
    }
  }
}

bool CLogFile::Analyze(ScanMode scan) {
  if (!source_.IsOpen()) return false;
  if (OwnTemplatePair(entry_->kind) < 0) return false;

  plat::FileStatus status;
  int err = 0;
  if (!plat::GetFileStatus(plat::JoinPath(folder_, sourceName_), &status, &err)) {
    messenger_.FileError(sourceName_, err);
    return false;
  }
  // The split command compares this time with the file's later, so it is
  // kept even when the analysis finds nothing; an analysis the user stops
  // leaves the entry as it was.
  const std::time_t seenBefore = entry_->modificationTime;
  entry_->modificationTime = status.mtime;
  interrupted_ = false;
  const std::uint64_t length = status.size > 0 ? static_cast<std::uint64_t>(status.size) : 0;

  ProgressSteps progress(progress_, length);
  Findings found;
  progress.Begin(kActionAnalyze);
  if (UseSkipping(scan, length)) {
    AnalyzeBySkipping(progress, found);
  } else {
    AnalyzeLineByLine(progress, found);
  }

  if (found.problem == Findings::Problem::Interrupted) {
    entry_->modificationTime = seenBefore;
    interrupted_ = true;
    progress.End();
    return false;
  }
  if (found.problem == Findings::Problem::MixedLog) {
    messenger_.MixedLogError(entry_->name, static_cast<int>(found.problemLine));
    progress.End();
    return false;
  }
  if (found.problem == Findings::Problem::NumberOutOfRange) {
    // 65536 and above are the sentinel and beyond: a range holding them
    // reads as "not analysed" to the split command, which would send the
    // user back to analysis forever without a word. The entry is marked
    // not analysed, so every later split of the room comes back here and
    // the user is told why, instead of a split going ahead on old figures.
    ShowLineProblem(messenger_, entry_->name, found.problemLine, ids::kMsgNumberOutOfRange,
                    ids::kMsgNumberOutOfRangeCaption, false);
    entry_->ForgetRange();
    progress.End();
    return false;
  }
  if (readError_ != 0) {
    messenger_.FileError(sourceName_, readError_);
    progress.End();
    return false;
  }
  if (EndMarkHidesData()) {
    // The range found covers only the part before the mark; a split on it
    // would lose the rest. Not analysed, so every split comes back here.
    entry_->ForgetRange();
    progress.End();
    return false;
  }
  progress.Complete();

  const bool anyHeader = found.highest >= found.lowest;
  if (anyHeader) {
    entry_->lowest = found.lowest;
    entry_->highest = found.highest;
    entry_->headerText = found.headerText;
  }
  progress.End();
  return anyHeader;
}
