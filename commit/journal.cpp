#include "commit/journal.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <random>

#include "platform/dir_search.h"
#include "platform/file_ops.h"

namespace commit {

namespace {

namespace jf = journal_format;
using jf::kBegin;
using jf::kCommit;
using jf::kFirstLine;
using jf::kJournalSuffix;
using jf::kNamePrefix;
using jf::kTempSuffix;

// FNV-1a: enough to tell a journal cut off in the middle from a whole one.
std::string Sum(const std::string& bytes) {
  std::uint64_t h = 1469598103934665603ULL;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ULL;
  }
  char out[17];
  std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(h));
  return out;
}

// Names are bytes of any kind; a field never holds a space or a line end.
std::string Escape(const std::string& field) {
  std::string out;
  for (unsigned char c : field) {
    if (c <= 0x20 || c == 0x7F || c == '%') {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Unescape(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '%' && i + 2 < field.size() && HexDigit(field[i + 1]) >= 0 && HexDigit(field[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(field[i + 1]) * 16 + HexDigit(field[i + 2]));
      i += 2;
    } else {
      out += field[i];
    }
  }
  return out;
}

std::string Format(const std::vector<JournalLine>& lines) {
  std::string text;
  for (const JournalLine& line : lines) {
    text += line.key;
    for (const std::string& field : line.fields) text += " " + Escape(field);
    text += "\n";
  }
  return text;
}

JournalLine Parse(const std::string& text) {
  JournalLine line;
  std::size_t at = 0;
  bool first = true;
  while (at <= text.size()) {
    std::size_t space = text.find(' ', at);
    if (space == std::string::npos) space = text.size();
    std::string word = text.substr(at, space - at);
    if (first) {
      line.key = word;
      first = false;
    } else {
      line.fields.push_back(Unescape(word));
    }
    at = space + 1;
  }
  return line;
}

}  // namespace

std::string NewTransactionId() {
  std::random_device random;
  std::uint64_t value = (static_cast<std::uint64_t>(random()) << 32) ^ random();
  char out[13];
  std::snprintf(out, sizeof out, "%012llx", static_cast<unsigned long long>(value & 0xFFFFFFFFFFFFULL));
  return out;
}

std::string JournalName(const std::string& id) { return kNamePrefix + id + kJournalSuffix; }

std::string TempName(const std::string& id, std::size_t index) {
  return kNamePrefix + id + "-" + std::to_string(index) + kTempSuffix;
}

bool IsPlainName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7F || c == '/') return false;
#ifdef _WIN32
    // A backslash or a drive's colon leads elsewhere there; on POSIX systems
    // they are characters of a name like any other.
    if (c == '\\' || c == ':') return false;
#endif
  }
  return true;
}

bool Journal::OwnsTemp(const std::string& name) const {
  const std::size_t idEnd = name_.size() - (sizeof kJournalSuffix - 1);
  if (name_.size() < sizeof kNamePrefix + sizeof kJournalSuffix - 1 ||
      name_.compare(idEnd, std::string::npos, kJournalSuffix) != 0) {
    return false;
  }
  const std::string own = name_.substr(0, idEnd) + "-";
  constexpr std::size_t suffix = sizeof kTempSuffix - 1;
  if (name.size() <= own.size() + suffix || name.compare(0, own.size(), own) != 0 ||
      name.compare(name.size() - suffix, suffix, kTempSuffix) != 0) {
    return false;
  }
  for (std::size_t i = own.size(); i + suffix < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
  }
  return true;
}

bool Journal::WriteDurably(const std::string& text, Fault* fault) {
  int err = 0;
  if (!file_.Append(text, &err) || !file_.Sync(&err)) {
    *fault = Fault{name_, err};
    return false;
  }
  written_ += text;
  return true;
}

bool Journal::Create(const std::string& folder, const std::string& id, const std::vector<JournalLine>& plan,
                     Fault* fault) {
  folder_ = folder;
  name_ = JournalName(id);
  int err = 0;
  if (!file_.Create(plat::JoinPath(folder, name_), &err)) {
    *fault = Fault{name_, err};
    return false;
  }
  std::string text = kFirstLine + Format(plan);
  text += std::string(kBegin) + " " + Sum(text) + "\n";
  if (!WriteDurably(text, fault)) {
    // A journal that never got whole is no use to anyone.
    file_.Close();
    plat::DeleteFile(plat::JoinPath(folder, name_));
    return false;
  }
  // The journal's name must be durable before anything it names is made
  // (invariant (1)).
  if (!plat::SyncFolder(folder, &err)) {
    *fault = Fault{name_, err};
    file_.Close();
    plat::DeleteFile(plat::JoinPath(folder, name_));
    return false;
  }
  lines_ = plan;
  state_ = State::Begun;
  return true;
}

bool Journal::Commit(const std::vector<JournalLine>& lines, Fault* fault) {
  std::string text = Format(lines);
  text += std::string(kCommit) + " " + Sum(written_ + text) + "\n";
  if (!WriteDurably(text, fault)) return false;
  lines_.insert(lines_.end(), lines.begin(), lines.end());
  state_ = State::Committed;
  return true;
}

bool Journal::Remove(Fault* fault) {
  int err = 0;
  if (!plat::DeleteFile(plat::JoinPath(folder_, name_), &err) || !plat::SyncFolder(folder_, &err)) {
    *fault = Fault{name_, err};
    return false;
  }
  file_.Close();
  return true;
}

bool Journal::OpenExisting(const std::string& folder, const std::string& name, bool* busy, Fault* fault) {
  folder_ = folder;
  name_ = name;
  int err = 0;
  std::string bytes;
  if (!file_.OpenExisting(plat::JoinPath(folder, name), busy, &err) || !file_.ReadAll(&bytes, &err)) {
    *fault = Fault{name_, err};
    return false;
  }
  written_ = bytes;
  state_ = State::Torn;
  lines_.clear();
  const std::size_t firstLine = sizeof kFirstLine - 1;
  // Cut off while its first line was written: nothing else was.
  if (bytes.size() < firstLine) {
    if (std::string(kFirstLine).compare(0, bytes.size(), bytes) != 0) state_ = State::Damaged;
    return true;
  }
  if (bytes.compare(0, firstLine, kFirstLine) != 0) {
    state_ = State::Damaged;
    return true;
  }
  // Whole lines only, each checkpoint checked against what stands before it.
  std::vector<JournalLine> pending;
  std::size_t at = firstLine;
  for (;;) {
    const std::size_t end = bytes.find('\n', at);
    if (end == std::string::npos) break;
    const std::string text = bytes.substr(at, end - at);
    // Fields are escaped: a byte below the space other than the line end is
    // no run's writing.
    const bool foreign = std::any_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; });
    JournalLine line = Parse(text);
    const bool checkpoint = line.key == kBegin || line.key == kCommit;
    if (foreign || (checkpoint && (line.fields.size() != 1 || line.fields[0] != Sum(bytes.substr(0, at))))) {
      // Past a whole checkpoint, a power cut may leave a torn tail of zeros
      // or of the next block (invariant (2)); before one, the plan itself
      // is broken.
      if (state_ == State::Torn) state_ = State::Damaged;
      break;
    }
    if (checkpoint) {
      lines_.insert(lines_.end(), pending.begin(), pending.end());
      pending.clear();
      state_ = line.key == kBegin ? State::Begun : State::Committed;
    } else {
      pending.push_back(std::move(line));
    }
    at = end + 1;
  }
  // A cut plan without its sum can't be told from a damaged one; it is torn
  // only while every byte of it is one a run writes.
  if (state_ == State::Torn && std::any_of(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end(),
                                           [](unsigned char c) { return c < 0x20 && c != '\n'; })) {
    state_ = State::Damaged;
  }
  return true;
}

bool NamedByAJournal(const std::string& folder, const std::string& key, const std::string& name) {
  std::vector<plat::FoundItem> journals;
  plat::FindFiles(folder, jf::kJournalPattern, &journals);
  for (const plat::FoundItem& item : journals) {
    Journal journal;
    bool busy = false;
    Fault ignored;
    // A journal its run still holds is that run's business: it is alive.
    if (item.isDirectory || !journal.OpenExisting(folder, item.name, &busy, &ignored)) continue;
    for (const JournalLine& line : journal.lines()) {
      if (line.key == key && !line.fields.empty() && line.fields[0] == name) return true;
    }
  }
  return false;
}

bool NamesStayInside(const Journal& journal) {
  // Which fields of which lines are names: index, and whether it is one of
  // the run's own temporary files.
  struct NameField {
    const char* key;
    std::size_t index;
    bool ownTemp;
  };
  // The split's and the undo's "log" and "backup" lines share their keys and
  // give the name first.
  static constexpr NameField kNames[] = {
      {jf::split::kLog, 0, false},     {jf::split::kBackup, 0, false}, {jf::split::kOutput, 0, true},
      {jf::split::kOutput, 1, false},  {jf::append::kFile, 0, false},  {jf::undo::kOldLog, 0, false},
      {jf::undo::kDisplaced, 0, true}, {jf::kKeep, 0, false},
  };
  for (const JournalLine& line : journal.lines()) {
    for (const NameField& field : kNames) {
      if (line.key != field.key || field.index >= line.fields.size()) continue;
      const std::string& name = line.fields[field.index];
      if (!IsPlainName(name) || (field.ownTemp && !journal.OwnsTemp(name))) return false;
    }
  }
  return true;
}

const JournalLine* Journal::Find(const std::string& key) const {
  for (const JournalLine& line : lines_) {
    if (line.key == key) return &line;
  }
  return nullptr;
}

}  // namespace commit
