// A whole log through analysis, read both line by line and by jumping between
// the places a header can start, which must agree; and, when the analysis
// finds a range, a split of it: the range lies inside the data model, and the
// split loses nothing.
// Every line of the log from some point on (the leading lines before the
// first message are dropped) ends up in exactly one output, in its order,
// and the backup still holds the log byte for byte.
//
// Input: byte 0 picks the kind (even: body log, odd: title log), byte 1 the
// naming form, bytes 2-3 the cut number; the rest is the log file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/log_file.h"
#include "fuzz/scratch_folder.h"
#include "platform/file_ops.h"
#include "platform/local_time.h"

namespace {

class SilentPort : public MessagePort {
 public:
  MsgResult ShowMessage(const Message& message, MsgStyle style) override {
    shown += message.text + "\n";
    return style.buttons == MsgButtons::YesNo || style.buttons == MsgButtons::YesNoCancel ? MsgResult::Yes
                                                                                          : MsgResult::Ok;
  }
  void ReportFileError(const std::string&, int) override {}
  std::string shown;
};

// A text cut into its lines, each with its LF (the last one may lack it).
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t lf = text.find('\n', start);
    std::size_t end = lf == std::string::npos ? text.size() : lf + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

bool IsSubsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
  std::size_t at = 0;
  for (const std::string& line : part) {
    while (at < whole.size() && whole[at] != line) ++at;
    if (at == whole.size()) return false;
    ++at;
  }
  return true;
}

// What a split of the backup made: each output's name and bytes; empty when
// the split was refused, which must leave nothing behind.
using Outputs = std::vector<std::pair<std::string, std::string>>;
Outputs SplitBackup(const std::string& folder, CFileEntry entry, NamingForm form, int number, CLogFile::ScanMode scan,
                    Messenger& messenger, ProgressPort& progress, const Clock& clock,
                    std::vector<std::string>& headerLines) {
  const std::string backup = "MES_01.B00";
  CLogFile log(folder, &entry, messenger, progress, clock);
  std::uint32_t state = kNamingFresh;
  Outputs made;
  if (log.MakeOldLogNames(number, entry.lowest, entry.highest, form, SplitMethod::Single, state)) return made;
  headerLines.clear();
  if (!log.MakeHeaderLines("FORUM1", "", headerLines)) fuzzing::Fail("no header lines for a named split");
  if (!log.Open(backup)) fuzzing::Fail("the backup did not open");
  const bool split = log.Split(headerLines, scan);
  log.Close();
  for (const std::string& name : log.names()) {
    const std::string path = plat::JoinPath(folder, name);
    if (!split && plat::FileExists(path)) fuzzing::Fail("a failed split left an output");
    if (split) made.emplace_back(name, fuzzing::GetFile(path));
  }
  return made;
}

void CheckSplit(const std::string& folder, CFileEntry& entry, NamingForm form, int number, const std::string& original,
                Messenger& messenger, ProgressPort& progress, const Clock& clock) {
  const std::string backup = "MES_01.B00";
  if (!plat::RenameNoReplace(plat::JoinPath(folder, entry.name), plat::JoinPath(folder, backup))) {
    fuzzing::Fail("the log could not be moved to its backup");
  }
  std::vector<std::string> headerLines;
  const auto made =
      SplitBackup(folder, entry, form, number, CLogFile::ScanMode::LineByLine, messenger, progress, clock, headerLines);
  if (fuzzing::GetFile(plat::JoinPath(folder, backup)) != original) fuzzing::Fail("the backup changed");
  // Reading by jumps writes the same outputs, byte for byte.
  for (const auto& output : made) plat::DeleteFile(plat::JoinPath(folder, output.first));
  std::vector<std::string> jumpedLines;
  if (SplitBackup(folder, entry, form, number, CLogFile::ScanMode::Skipping, messenger, progress, clock, jumpedLines) !=
      made) {
    fuzzing::Fail("a split by jumps wrote other than one line by line");
  }
  if (made.empty()) return;

  const std::vector<std::string> source = Lines(fuzzing::TextModeContent(original));
  std::vector<std::string> written;
  std::map<std::string, int> counts;
  for (std::size_t i = 0; i < made.size(); ++i) {
    std::vector<std::string> lines = Lines(fuzzing::TextModeContent(made[i].second));
    if (entry.kind == kKindBody) {
      if (lines.empty() || lines.front() != headerLines[i] + "\n") fuzzing::Fail("output lacks its header line");
      lines.erase(lines.begin());
    }
    if (!IsSubsequence(lines, source)) fuzzing::Fail("an output is not in the log's order");
    for (const std::string& line : lines) ++counts[line];
    written.insert(written.end(), lines.begin(), lines.end());
  }
  if (written.size() > source.size()) fuzzing::Fail("outputs hold more lines than the log");
  // What was not written must be the leading lines only.
  for (std::size_t i = source.size() - written.size(); i < source.size(); ++i) {
    if (--counts[source[i]] < 0) fuzzing::Fail("a line of the log is missing from the outputs");
  }
  const bool anyLeft = std::any_of(counts.begin(), counts.end(), [](const auto& c) { return c.second != 0; });
  if (anyLeft) fuzzing::Fail("the outputs hold a line the log's messages do not");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const int kind = (data[0] & 1) ? kKindTitle : kKindBody;
  const NamingForm form = (data[1] & 1) ? NamingForm::Serial : NamingForm::Archive;
  const int number = ((data[2] << 8) | data[3]) % (kNoHighest + 1);
  const std::string original(reinterpret_cast<const char*>(data + 4), size - 4);

  fuzzing::EmptyScratchFolder();
  const std::string& folder = fuzzing::ScratchFolder();
  CFileEntry entry;
  entry.name = kind == kKindBody ? "MES_01.LOG" : "MES#01.LOG";
  entry.kind = kind;
  entry.room = 1;
  fuzzing::PutFile(plat::JoinPath(folder, entry.name), original);

  SilentPort port;
  CompanionMode mode;
  Messenger messenger(port, mode);
  NoProgress progress;
  FixedClock clock(plat::MakeLocalTime(1998, 2, 10, 12, 0));

  const auto analyze = [&](CFileEntry& into, CLogFile::ScanMode scan) {
    CLogFile log(folder, &into, messenger, progress, clock);
    if (!log.Open()) fuzzing::Fail("the log did not open");
    const bool found = log.Analyze(scan);
    log.Close();
    return found;
  };
  CFileEntry jumped = entry;
  const bool jumpedFound = analyze(jumped, CLogFile::ScanMode::Skipping);
  const std::string jumpedShown = port.shown;
  port.shown.clear();
  const bool found = analyze(entry, CLogFile::ScanMode::LineByLine);
  if (jumpedFound != found || jumped.lowest != entry.lowest || jumped.highest != entry.highest ||
      jumped.headerText != entry.headerText || jumpedShown != port.shown) {
    fuzzing::Fail("reading by jumps found other than reading line by line");
  }
  if (!found) return 0;
  // Text after an end-of-text byte is never read: such a log has no range.
  const std::size_t mark = original.find('\x1a');
  if (mark != std::string::npos && original.find_first_not_of("\x1a\r\n", mark) != std::string::npos) {
    fuzzing::Fail("analysis gave a range to a log with text after an end-of-text byte");
  }
  if (entry.lowest < 1 || entry.highest < entry.lowest || entry.highest >= kNoHighest) {
    fuzzing::Fail("analysis gave a range outside 1..65535");
  }
  if (entry.headerText.size() > 99 || entry.headerText.find('\n') != std::string::npos) {
    fuzzing::Fail("header text longer than 99 bytes or holding a line end");
  }
  CheckSplit(folder, entry, form, number, original, messenger, progress, clock);
  return 0;
}
