#include "commit/aftercare.h"

#include "commit/append_commit.h"
#include "commit/journal_format.h"
#include "platform/file_ops.h"
#include "platform/name_in_line.h"

namespace commit {

namespace {

namespace jf = journal_format;
namespace key = journal_format::split;

// Whether a line of AR.LST names the old log: its second field.
bool ListNames(const std::string& list, const std::string& oldLogName) {
  const std::string field = " " + plat::NameForLine(oldLogName) + " ";
  std::size_t at = 0;
  while (at < list.size()) {
    std::size_t end = list.find('\n', at);
    if (end == std::string::npos) end = list.size();
    const std::size_t space = list.find(' ', at);
    if (space < end && list.compare(space, field.size(), field) == 0) return true;
    at = end + 1;
  }
  return false;
}

bool ReadWhole(const std::string& path, std::string* bytes) {
  plat::FileStatus status;
  if (!plat::GetFileStatus(path, &status)) return true;  // no file: nothing in it
  return plat::ReadFileBytes(path, 0, static_cast<std::size_t>(status.size), bytes);
}

void Append(const std::string& folder, const std::string& name, const std::string& text, AftercareDone& done) {
  const AppendResult appended = AppendDurably(folder, name, HostLineEnds(text));
  if (appended.outcome == Outcome::Done) {
    done.written.push_back(name);
  } else {
    done.faults.push_back(appended.fault);
  }
}

}  // namespace

std::string AsBodyName(std::string name) {
  if (name.size() > 2) name[2] = '_';
  return name;
}

std::string RecordLine(const std::string& oldLogName, const std::string& headerLine) {
  return "M " + plat::NameForLine(oldLogName) + " " + headerLine + "\n";
}

std::string HistoryBlock(const std::string& stamp, const std::string& recordLines) {
  return "\n==================== " + stamp + " ====================\n" + recordLines;
}

std::vector<JournalLine> Aftercare::Lines() const {
  std::vector<JournalLine> lines{{key::kAftercare,
                                  {historyName, stamp, exportAsked ? jf::kYes : jf::kNo,
                                   archiveForm ? jf::kYes : jf::kNo, titleLog ? jf::kYes : jf::kNo}}};
  for (const auto& [name, header] : records) lines.push_back({key::kRecord, {name, header}});
  return lines;
}

Aftercare Aftercare::FromJournal(const Journal& journal) {
  Aftercare care;
  for (const JournalLine& line : journal.lines()) {
    if (line.key == key::kAftercare && line.fields.size() == key::kAftercareFields) {
      care.historyName = line.fields[0];
      care.stamp = line.fields[1];
      care.exportAsked = line.fields[2] == jf::kYes;
      care.archiveForm = line.fields[3] == jf::kYes;
      care.titleLog = line.fields[4] == jf::kYes;
    } else if (line.key == key::kRecord && line.fields.size() == key::kRecordFields) {
      care.records.emplace_back(line.fields[0], line.fields[1]);
    }
  }
  return care;
}

AftercareDone WriteAftercare(const std::string& folder, const Aftercare& care) {
  AftercareDone done;
  if (care.historyName.empty()) return done;
  // An old log taken back by an undo since, or deleted, is owed nothing.
  std::vector<std::pair<std::string, std::string>> standing;
  for (const auto& record : care.records) {
    if (plat::FileExists(plat::JoinPath(folder, record.first))) standing.push_back(record);
  }
  if (standing.empty()) return done;

  std::string history;
  std::string lines;
  for (const auto& [name, header] : standing) lines += RecordLine(name, header);
  if (!ReadWhole(plat::JoinPath(folder, care.historyName), &history) ||
      history.find(HostLineEnds(lines)) == std::string::npos) {
    Append(folder, care.historyName, HistoryBlock(care.stamp, lines), done);
  }

  if (!care.exportAsked || !care.archiveForm) return done;
  std::string list;
  if (!ReadWhole(plat::JoinPath(folder, kArchiveListFile), &list)) {
    done.faults.push_back(Fault{kArchiveListFile, EIO});
    return done;
  }
  std::string missing;
  for (const auto& [name, header] : standing) {
    if (ListNames(list, name)) continue;
    // A title log's old log is covered by its body log's twin.
    if (care.titleLog &&
        (plat::FileExists(plat::JoinPath(folder, AsBodyName(name))) || ListNames(list, AsBodyName(name)))) {
      continue;
    }
    missing += RecordLine(name, header);
  }
  if (!missing.empty()) Append(folder, kArchiveListFile, missing, done);
  return done;
}

}  // namespace commit
