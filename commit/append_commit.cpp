#include "commit/append_commit.h"

#include <cerrno>
#include <cstdint>
#include <algorithm>
#include <cstdlib>

#include "platform/confined_path.h"
#include "platform/file_error.h"
#include "platform/file_ops.h"
#include "platform/text_writer.h"

namespace commit {

namespace {

constexpr std::int64_t kWasMissing = -1;

struct AppendFacts {
  std::string folder;
  std::string name;
  std::int64_t sizeBefore = kWasMissing;
  std::string bytes;
  std::string Path() const { return plat::JoinPath(folder, name); }
};

bool Failed(Fault* fault, const std::string& subject, int err) {
  *fault = Fault{subject, err};
  return false;
}

// Writes what is not in the file yet. The file must hold what it held before
// and then nothing but the start of the lines: anything else was written by
// somebody else, and is not cut or written over.
bool Forward(const AppendFacts& facts, Fault* fault, bool* created) {
  plat::FileStatus status;
  int err = 0;
  std::size_t done = 0;
  plat::TextWriter out;
  if (!plat::GetFileStatus(facts.Path(), &status, &err)) {
    if (err != ENOENT || facts.sizeBefore != kWasMissing) return Failed(fault, facts.name, err);
    if (!out.Open(facts.Path(), plat::TextWriter::Mode::CreateNew)) return Failed(fault, facts.name, out.error());
    *created = true;
  } else {
    const std::int64_t before = facts.sizeBefore == kWasMissing ? 0 : facts.sizeBefore;
    if (status.size < before) return Failed(fault, facts.name, ESTALE);
    // The lines may be there in full already, with more appended after them.
    done = static_cast<std::size_t>(std::min<std::int64_t>(status.size - before, facts.bytes.size()));
    std::string there;
    if (!plat::ReadFileBytes(facts.Path(), before, done, &there, &err)) return Failed(fault, facts.name, err);
    if (there != facts.bytes.substr(0, done)) return Failed(fault, facts.name, ESTALE);
    if (done == facts.bytes.size()) return true;
    if (status.size > before + static_cast<std::int64_t>(done)) return Failed(fault, facts.name, ESTALE);
    if (!out.Open(facts.Path(), plat::TextWriter::Mode::Append)) return Failed(fault, facts.name, out.error());
  }
  const bool written = out.WriteBytes(std::string_view(facts.bytes).substr(done)) && out.Sync();
  if (!out.Close() || !written) return Failed(fault, facts.name, out.error());
  if (*created) plat::SyncFolder(facts.folder);
  return true;
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
  AppendFacts facts{folder, name, kWasMissing, bytes};
  plat::FileStatus status;
  int err = 0;
  if (!plat::IsConfinedFile(folder, facts.Path(), &err)) {
    result.fault = Fault{name, err};
    return result;
  }
  if (plat::GetFileStatus(facts.Path(), &status, &err)) {
    facts.sizeBefore = status.size;
  } else if (err != ENOENT) {
    // Without knowing what the file held, a failed append could not be taken back.
    result.fault = Fault{name, err};
    return result;
  }
  Journal journal;
  if (!journal.Create(folder, NewTransactionId(),
                      {{"op", {"append"}}, {"file", {name}}, {"size", {std::to_string(facts.sizeBefore)}},
                       {"data", {bytes}}},
                      &result.fault) ||
      !journal.Commit({}, &result.fault)) {
    if (journal.state() == Journal::State::Begun) journal.Remove(&result.fault);
    return result;
  }
  bool created = false;
  Fault ignored;
  if (Forward(facts, &result.fault, &created)) {
    journal.Remove(&ignored);
    result.outcome = Outcome::Done;
    return result;
  }
  // Taken back to the length it had, or away again when the append made it.
  const bool back = created ? plat::DeleteFile(facts.Path())
                            : facts.sizeBefore == kWasMissing || plat::TruncateFile(facts.Path(), facts.sizeBefore);
  if (back) {
    journal.Remove(&ignored);
  } else {
    result.outcome = Outcome::Stuck;
  }
  return result;
}

AppendRepair RepairAppend(const std::string& folder, const Journal& journal) {
  AppendRepair repair;
  AppendFacts facts{folder, {}, kWasMissing, {}};
  for (const JournalLine& line : journal.lines()) {
    if (line.fields.size() != 1) continue;
    if (line.key == "file") facts.name = line.fields[0];
    if (line.key == "size") facts.sizeBefore = std::strtoll(line.fields[0].c_str(), nullptr, 10);
    if (line.key == "data") facts.bytes = line.fields[0];
  }
  repair.fileName = facts.name;
  if (journal.state() != Journal::State::Committed || facts.name.empty()) {
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
