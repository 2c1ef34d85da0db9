#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/naming_error.h"
#include "engine/naming_plan.h"
#include "messages/companion_mode.h"
#include "model/file_entry.h"
#include "platform/text_reader.h"
#include "ports/clock.h"
#include "ports/progress.h"

class ProgressSteps;
class SplitOutputs;

// The engine object: reads one log file for one task (an analysis, or one
// split) and is then destroyed. It reads the file once: a small file through
// the line window (LineWindow), so that a two-line header is recognised
// without reading anything twice; a bigger one by jumping between the places
// a header can start (HeaderScan), which finds the same headers. Its other
// jobs are done by parts that know nothing of the file being read: the
// naming plan (PlanOldLogNames), the header lines (ForumHeaderLines) and the
// outputs of a split (SplitOutputs).
class CLogFile {
 public:
  // folder is the forum folder's full path; entry (not owned) is the log
  // being worked on and must outlive the object. The messenger, progress
  // display and clock must outlive it too. No file is touched.
  CLogFile(std::string folder, CFileEntry* entry, Messenger& messenger, ProgressPort& progress, const Clock& clock);
  ~CLogFile();  // closes the source, reporting a failure, if still open
  CLogFile(const CLogFile&) = delete;
  CLogFile& operator=(const CLogFile&) = delete;

  // Opens folder/name for reading, or the entry's own file when name is
  // empty. A failure is reported naming that file. An object opens at most
  // one file in its life.
  bool Open(const std::string& name = std::string());
  // Closes the source; a failure is reported naming it.
  bool Close();

  // How a pass reads: line by line through the window, or by jumping
  // between the places a header can start. Both find and write the same; by
  // size takes the jumps for all but small files, whose progress display
  // then steps line by line.
  enum class ScanMode { BySize, LineByLine, Skipping };

  // Reads the whole log: sets the entry's modification time, and when at
  // least one header was found its lowest and highest number and header
  // text. False when no header was found, or when the file holds headers of
  // the other kind or a message number above 65536 (both shown to the user,
  // with the line), or when the user interrupted the program (interrupted();
  // the entry is then as it was).
  bool Analyze(ScanMode scan = ScanMode::BySize);

  // Plans the cuts and names the old logs in form, cut by method, against
  // the folder as it is now listed, with the names of alsoTaken counted as
  // in it; see PlanOldLogNames. state is the room's naming state for the
  // split command (kNamingFresh at its start). The folder is only listed.
  std::optional<CNameError> MakeOldLogNames(int number, int lower, int upper, NamingForm form, SplitMethod method,
                                            std::uint32_t& state,
                                            const std::vector<std::string>& alsoTaken = std::vector<std::string>());

  // Appends one forum header line per output (the old logs, then the log
  // itself), CP932 without line end. forumName is the forum folder's name as
  // the file system gives it (UTF-8 here); roomName the room's name from the
  // room list (CP932), empty when the room has none.
  bool MakeHeaderLines(const std::string& forumName, const std::string& roomName, std::vector<std::string>& lines);

  // The names the outputs are written under, one per planned name, when not
  // those names themselves: the split command writes them under temporary
  // names while the log stays where it is, and puts them in place after.
  void SetOutputNames(std::vector<std::string> names) { outputNames_ = std::move(names); }

  // Reads the open source once and writes the old logs and the log's new
  // file (under the names planned by MakeOldLogNames, or those given by
  // SetOutputNames); body logs get headerLines[i] as the first line of
  // output i. On success every output is on disk and the entry holds the
  // new file's range, time and size. On any failure (an interruption among
  // them) every output is deleted, the failure is reported, and the entry is
  // unchanged.
  bool Split(const std::vector<std::string>& headerLines, ScanMode scan = ScanMode::BySize);

  // What one output of a split holds: its bytes and the lowest and highest
  // number of its messages (lowest > highest when it holds none).
  struct OutputMeasure {
    std::uint64_t bytes = 0;
    int lowest = kNoHighest;
    int highest = 0;
  };
  // Reads the open source as Split does and tells what each output (the old
  // logs, then the log's new file) would hold, making no file: the split a
  // dry run shows. The entry stays as it is. False (told) when the split
  // would fail reading.
  bool MeasureSplit(const std::vector<std::string>& headerLines, std::vector<OutputMeasure>& measures,
                    ScanMode scan = ScanMode::BySize);
  // Whether the last analysis or split stopped because the user interrupted
  // the program.
  bool interrupted() const { return interrupted_; }

  // The source as it stood when it was opened.
  const plat::FileIdentity& SourceIdentity() const { return source_.OpenedIdentity(); }

  // After a successful Split: one undo record per old log, appended to the
  // entry's undo list; backupName is where the log as it was now lies.
  void RecordUndo(int generation, const std::vector<std::string>& headerLines, NamingForm namingForm,
                  const std::string& backupName);

  const std::string& folder() const { return folder_; }
  const std::string& sourceName() const { return sourceName_; }
  CFileEntry* entry() const { return entry_; }
  // Old-log names then the log's own name, once named.
  const std::vector<std::string>& names() const { return plan_.names; }
  // 0, the cuts, 65536, once named.
  const std::vector<std::int32_t>& cutPoints() const { return plan_.cutPoints; }
  std::int32_t previousLowest() const { return previousLowest_; }
  std::int32_t previousHighest() const { return previousHighest_; }

 private:
  // What one pass found or did; each pass's own file defines it.
  struct Findings;
  struct SplitFindings;

  void AnalyzeLineByLine(ProgressSteps& progress, Findings& found);
  void AnalyzeBySkipping(ProgressSteps& progress, Findings& found);
  bool UseSkipping(ScanMode scan, std::uint64_t length) const;

  // The pass both Split and MeasureSplit make, into outputs; on success
  // every output is finished and done tells what each holds.
  bool RunSplit(const std::vector<std::string>& headerLines, ScanMode scan, SplitOutputs& outputs, SplitFindings& done);
  void SplitLineByLine(ProgressSteps& progress, SplitOutputs& outputs, SplitFindings& done);
  void SplitBySkipping(ProgressSteps& progress, SplitOutputs& outputs, SplitFindings& done);
  // The output a message goes to, or -1 (told) when its number lies beyond
  // every output's range.
  int OutputFor(int number, long long line, SplitFindings& done);
  bool WriteFailed(SplitOutputs& outputs, int output, SplitFindings& done);
  bool Interrupted(SplitFindings& done);

  // True (told) when the source could not be read to its end: a read
  // error, or an end-of-text byte with more of the log after it.
  bool SourceReadFailed();
  bool EndMarkHidesData();  // told when true

  plat::TextReader source_;
  bool opened_ = false;  // once a file was opened; never reopened
  std::string folder_;
  std::string sourceName_;
  CFileEntry* entry_;
  Messenger& messenger_;
  ProgressPort& progress_;
  const Clock& clock_;
  int readError_ = 0;  // errno of a failed read during the pass

  NamingPlan plan_;
  std::vector<std::string> outputNames_;
  bool interrupted_ = false;
  std::int32_t previousLowest_ = 0;
  std::int32_t previousHighest_ = kNoHighest;
};
