#include "commit/append_commit.h"

#include <cerrno>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/confined_path.h"
#include "platform/file_error.h"
#include "platform/file_ops.h"
#include "platform/text_writer.h"

namespace commit {

namespace {

namespace jf = journal_format;
namespace key = journal_format::append;

using key::kWasMissing;
// How much of the file's end before the append the journal keeps: enough to
// tell the file from one rewritten to the same length since.
constexpr std::int64_t kTailKept = 256;

struct AppendFacts {
  std::string folder;
  std::string name;
  std::int64_t sizeBefore = kWasMissing;
  std::string bytes;
  std::string tailBefore;  // the file's last bytes before the append
  std::string Path() const { return plat::JoinPath(folder, name); }
};

bool Failed(Fault* fault, const std::string& subject, int err) {
  *fault = Fault{subject, err};
  return false;
}

bool WriteAtEnd(const AppendFacts& facts, std::string_view bytes, plat::TextWriter::Mode mode, Fault* fault,
                bool* opened = nullptr) {
  plat::TextWriter out;
  if (!out.Open(facts.Path(), mode)) return Failed(fault, facts.name, out.error());
  if (opened) *opened = true;
  const bool written = out.WriteBytes(bytes) && out.Sync();
  if (!out.Close() || !written) return Failed(fault, facts.name, out.error());
  return true;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// Somebody else rewrote the file or added to it since the append began
// (TORBLEN, another program, an editor): the lines of the block it does not
// hold go at its end, and nothing of theirs is cut or written over.
bool AppendMissingLines(const AppendFacts& facts, std::int64_t size, Fault* fault) {
  std::string there;
  int err = 0;
  if (!plat::ReadFileBytes(facts.Path(), 0, static_cast<std::size_t>(size), &there, &err)) {
    return Failed(fault, facts.name, err);
  }
  std::unordered_set<std::string_view> held;
  for (std::string_view line : Lines(there)) held.insert(line);
  std::string missing;
  bool anyMissing = false;
  for (std::string_view line : Lines(facts.bytes)) {
    // A blank line belongs to the block around it; only lines with text tell.
    if (!line.empty() && held.count(line) != 0) continue;
    anyMissing = anyMissing || !line.empty();
    missing.append(line).append("\r\n");
  }
  if (!anyMissing) return true;
  // The file's last line may be one of ours cut short, or somebody's line
  // without its end: the first is finished, the second ended.
  const std::size_t lastEnd = there.rfind('\n');
  const std::string_view tail = std::string_view(there).substr(lastEnd == std::string::npos ? 0 : lastEnd + 1);
  if (!tail.empty()) {
    if (missing.compare(0, tail.size(), tail) == 0) {
      missing.erase(0, tail.size());
    } else {
      missing.insert(0, "\r\n");
    }
  }
  return WriteAtEnd(facts, missing, plat::TextWriter::Mode::Append, fault);
}

// Writes what is not in the file yet. Where the file holds what it held
// before and then the start of the block, the rest follows; where somebody
// else changed it meanwhile, the lines it lacks go at its end.
bool Forward(const AppendFacts& facts, Fault* fault, bool* created) {
  plat::FileStatus status;
  int err = 0;
  if (!plat::GetFileStatus(facts.Path(), &status, &err)) {
    if (err != ENOENT) return Failed(fault, facts.name, err);
    // Never there, or deleted since: made anew with the lines.
    if (!WriteAtEnd(facts, facts.bytes, plat::TextWriter::Mode::CreateNew, fault, created)) return false;
    plat::SyncFolder(facts.folder);
    return true;
  }
  const std::int64_t before = facts.sizeBefore == kWasMissing ? 0 : facts.sizeBefore;
  const std::int64_t tailAt = before - static_cast<std::int64_t>(facts.tailBefore.size());
  std::string tail;
  if (status.size >= before && plat::ReadFileBytes(facts.Path(), tailAt, facts.tailBefore.size(), &tail, &err) &&
      tail == facts.tailBefore) {
    // The lines may be there in full already, with more appended after them.
    const std::size_t done = static_cast<std::size_t>(std::min<std::int64_t>(status.size - before, facts.bytes.size()));
    std::string there;
    if (!plat::ReadFileBytes(facts.Path(), before, done, &there, &err)) return Failed(fault, facts.name, err);
    if (there == std::string_view(facts.bytes).substr(0, done)) {
      if (done == facts.bytes.size()) return true;
      if (status.size == before + static_cast<std::int64_t>(done)) {
        return WriteAtEnd(facts, std::string_view(facts.bytes).substr(done), plat::TextWriter::Mode::Append, fault);
      }
    }
  }
  return AppendMissingLines(facts, status.size, fault);
}

// Takes back what this append wrote, and only that: the file must hold what
// it held before and then nothing but the start of the block. Anything else
// was written by somebody else since, and the file is left as it is
// (invariant (9)).
bool TakeBack(const AppendFacts& facts, bool created) {
  plat::FileStatus status;
  if (!plat::GetFileStatus(facts.Path(), &status)) return false;
  const std::int64_t before = created || facts.sizeBefore == kWasMissing ? 0 : facts.sizeBefore;
  if (status.size == before && !created) return true;
  if (status.size < before || status.size > before + static_cast<std::int64_t>(facts.bytes.size())) return false;
  std::string there;
  const std::size_t length = static_cast<std::size_t>(status.size - before);
  const std::size_t tail = created ? 0 : facts.tailBefore.size();
  if (!plat::ReadFileBytes(facts.Path(), before - static_cast<std::int64_t>(tail), tail + length, &there) ||
      there != facts.tailBefore.substr(0, tail) + facts.bytes.substr(0, length)) {
    return false;
  }
  return created ? plat::DeleteFile(facts.Path()) : plat::TruncateFile(facts.Path(), before);
}

}  // namespace

std::string HostLineEnds(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

AppendResult AppendDurably(const std::string& folder, const std::string& name, const std::string& bytes) {
  AppendResult result;
  AppendFacts facts{.folder = folder, .name = name, .bytes = bytes};
  plat::FileStatus status;
  int err = 0;
  if (!plat::IsConfinedFile(folder, facts.Path(), &err)) {
    result.fault = Fault{name, err};
    return result;
  }
  if (plat::GetFileStatus(facts.Path(), &status, &err)) {
    facts.sizeBefore = status.size;
    const std::int64_t kept = std::min(status.size, kTailKept);
    if (!plat::ReadFileBytes(facts.Path(), status.size - kept, static_cast<std::size_t>(kept), &facts.tailBefore,
                             &err)) {
      result.fault = Fault{name, err};
      return result;
    }
  } else if (err != ENOENT) {
    // Without knowing what the file held, a failed append could not be taken back.
    result.fault = Fault{name, err};
    return result;
  }
  // Committed whole before the file is touched (invariant (9)).
  Journal journal;
  if (!journal.Create(folder, NewTransactionId(),
                      {{jf::kOp, {jf::kOpAppend}},
                       {key::kFile, {name}},
                       {key::kSize, {std::to_string(facts.sizeBefore)}},
                       {key::kTail, {facts.tailBefore}},
                       {key::kData, {bytes}}},
                      &result.fault) ||
      !journal.Commit({}, &result.fault)) {
    if (journal.state() == JournalState::Begun) journal.Remove(&result.fault);
    return result;
  }
  bool created = false;
  Fault ignored;
  if (Forward(facts, &result.fault, &created)) {
    journal.Remove(&ignored);
    result.outcome = Outcome::Done;
    return result;
  }
  // Taken back to the length it had, or away again when the append made it;
  // where that can't be done without touching somebody else's bytes, the
  // journal stays and the next run adds the lines the file lacks.
  if (TakeBack(facts, created)) {
    journal.Remove(&ignored);
  } else {
    result.outcome = Outcome::Stuck;
  }
  return result;
}

AppendRepair RepairAppend(const std::string& folder, const Journal& journal) {
  AppendRepair repair;
  AppendFacts facts{.folder = folder};
  for (const JournalLine& line : journal.lines()) {
    if (line.fields.size() != key::kFields) continue;
    if (line.key == key::kFile) facts.name = line.fields[0];
    if (line.key == key::kSize) facts.sizeBefore = std::strtoll(line.fields[0].c_str(), nullptr, 10);
    if (line.key == key::kData) facts.bytes = line.fields[0];
    if (line.key == key::kTail) facts.tailBefore = line.fields[0];
  }
  repair.fileName = facts.name;
  if (journal.state() != JournalState::Committed || facts.name.empty()) {
    repair.outcome = Outcome::TakenBack;
    return repair;
  }
  // The name may have become a link out of the folder since.
  int err = 0;
  if (!plat::IsConfinedFile(folder, facts.Path(), &err)) {
    repair.fault = Fault{facts.name, err};
    return repair;
  }
  bool created = false;
  repair.outcome = Forward(facts, &repair.fault, &created) ? Outcome::Done : Outcome::Stuck;
  return repair;
}

}  // namespace commit
