#include "commands/archive_list.h"

#include <cerrno>
#include <filesystem>
#include <optional>
#include <random>
#include <string_view>

#include "commands/archive_line.h"
#include "platform/confined_path.h"
#include "platform/encoding.h"
#include "platform/file_ops.h"
#include "platform/forum_lock.h"
#include "platform/interrupt.h"
#include "platform/text_reader.h"
#include "platform/text_writer.h"

namespace {

bool IsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Answers whether a name from the list stands for something in the folder.
// The host wrote the names in CP932 and matches them without regard to
// case; here a folder's names are normally UTF-8 and the file system tells
// case apart, so a name is also looked for in those forms before its line
// is given up.
class FolderContents {
 public:
  FolderContents(const std::string& folder, const std::vector<plat::FoundItem>& listing)
      : folder_(folder), listing_(listing) {}

  bool Holds(const std::string& name) const {
    if (HoldsExactly(name)) return true;
    if (!IsAscii(name)) {
      std::string utf8 = plat::Cp932ToUtf8(name);
      if (utf8 != name && HoldsExactly(utf8)) return true;
    }
    return false;
  }

 private:
  bool HoldsExactly(const std::string& name) const {
    if (name.find('\0') != std::string::npos) return false;
    if (plat::FileExists(plat::JoinPath(folder_, name))) return true;
    for (const plat::FoundItem& item : listing_) {
      if (SameIgnoringAsciiCase(item.name, name)) return true;
    }
    return false;
  }

  const std::string& folder_;
  const std::vector<plat::FoundItem>& listing_;
};

std::optional<std::string> FindListPath(const std::string& folder, const std::vector<plat::FoundItem>& listing) {
  std::string exact = plat::JoinPath(folder, kArchiveListName);
  if (plat::FileExists(exact)) return exact;
  for (const plat::FoundItem& item : listing) {
    if (!item.isDirectory && SameIgnoringAsciiCase(item.name, kArchiveListName)) {
      return plat::JoinPath(folder, item.name);
    }
  }
  return std::nullopt;
}

// Reads the list and keeps the lines whose file is there. The reader hands
// out pieces of at most 1023 bytes; the pieces of one longer line are joined
// again and the line judged as a whole, so that keeping a line's start
// without its end can never glue it onto the next line kept.
ReconcileOutcome ReadKeptLines(const std::string& listPath, const FolderContents& contents,
                               std::vector<std::string>* kept, ReconcileResult* result) {
  plat::TextReader reader;
  if (!reader.Open(listPath)) return ReconcileOutcome::NotOpened;
  auto judge = [&](const std::string& line) {
    std::string_view name = SecondField(line);
    if (!name.empty() && contents.Holds(std::string(name))) {
      kept->push_back(line);
    } else {
      ++result->dropped;
      result->droppedLines.push_back(line.ends_with('\n') ? line.substr(0, line.size() - 1) : line);
    }
  };
  char piece[plat::TextReader::kMaxPiece + 1];
  std::string line;
  for (;;) {
    int n = reader.ReadLine(piece);
    if (n < 0) return ReconcileOutcome::ReadFailed;  // judging a part would lose the rest
    if (n == 0) break;
    line.append(piece, static_cast<std::size_t>(n));
    if (piece[n - 1] == '\n') {
      judge(line);
      line.clear();
    }
  }
  // A list the reader stopped short of its end would lose the lines after
  // the stop when rewritten.
  switch (reader.WhatFollowsEndMark()) {
    case plat::TextReader::AfterEndMark::Data: return ReconcileOutcome::EndsEarly;
    case plat::TextReader::AfterEndMark::Unknown: return ReconcileOutcome::ReadFailed;
    default: break;
  }
  if (!line.empty()) judge(line);  // the last line, without its line end
  reader.Close();
  return ReconcileOutcome::Rewritten;
}

// The list is rewritten only where it may be written: one the user made
// read-only stays as it is, as it would if it were rewritten in place.
bool MayRewrite(const std::string& listPath) {
  plat::TextWriter probe;
  if (!probe.Open(listPath, plat::TextWriter::Mode::Append)) return false;
  return probe.Close();
}

bool OpenBeside(const std::string& listPath, plat::TextWriter* writer, std::string* newPath) {
  // A run that was killed while rewriting leaves its new list behind, and
  // the user's own files are never replaced: taken names give way to random
  // ones, so such leftovers never use the names up.
  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<int> suffix(0, 999999);
  for (int attempt = 0; attempt < 1000; ++attempt) {
    *newPath = listPath + ".new" + (attempt ? std::to_string(suffix(random)) : std::string());
    if (writer->Open(*newPath, plat::TextWriter::Mode::CreateNew)) return true;
    if (writer->error() != EEXIST) return false;
  }
  return false;
}

// A list kept elsewhere in the shared log folder and linked into the folder
// is rewritten where it lies, so the link stays a link.
std::string WhereListLies(const std::string& listPath) {
  std::error_code ec;
  std::filesystem::path real = std::filesystem::canonical(listPath, ec);
  return ec ? listPath : real.string();
}

ReconcileOutcome WriteKeptLines(const std::string& listPath, const std::vector<std::string>& kept) {
  if (!MayRewrite(listPath)) return ReconcileOutcome::NotRewritten;
  plat::TextWriter writer;
  std::string newPath;
  if (!OpenBeside(listPath, &writer, &newPath)) return ReconcileOutcome::NotRewritten;
  bool written = true;
  for (const std::string& line : kept) {
    // The reader turned CR LF into LF; the writer turns it back.
    if (!writer.Write(line)) {
      written = false;
      break;
    }
  }
  written = writer.Sync() && written;
  written = writer.Close() && written;
  // Interrupted: the old list stays, and the new one goes.
  if (written && !plat::InterruptRequested()) {
    // The new list takes the old one's permissions, as a list rewritten in
    // place keeps them.
    std::error_code ec;
    std::filesystem::file_status old = std::filesystem::status(listPath, ec);
    if (!ec) {
      std::filesystem::permissions(newPath, old.permissions(), std::filesystem::perm_options::replace, ec);
    }
    if (plat::ReplaceFile(newPath, listPath)) return ReconcileOutcome::Rewritten;
  }
  plat::DeleteFile(newPath);
  return ReconcileOutcome::NotRewritten;
}

}  // namespace

namespace {

// Where the list of folder is, when it has one that may be read: outcome
// NoList or NotConfined otherwise.
std::optional<std::string> ListToRead(const std::string& folder, const std::vector<plat::FoundItem>& listing,
                                      const std::string& sharedFolder, ReconcileResult& result) {
  std::optional<std::string> listPath = FindListPath(folder, listing);
  if (listPath && !plat::IsConfinedFile(sharedFolder.empty() ? folder : sharedFolder, *listPath)) {
    result.outcome = ReconcileOutcome::NotConfined;
    return std::nullopt;
  }
  return listPath;
}

// Reads the list and sorts its lines into kept and dropped; false (with the
// outcome, nothing counted) when it could not be read whole.
bool JudgeLines(const std::string& folder, const std::vector<plat::FoundItem>& listing, const std::string& listPath,
                std::vector<std::string>& kept, ReconcileResult& result) {
  const FolderContents contents(folder, listing);
  result.outcome = ReadKeptLines(listPath, contents, &kept, &result);
  if (result.outcome != ReconcileOutcome::Rewritten) {
    result.dropped = 0;
    result.droppedLines.clear();
    return false;
  }
  result.kept = kept.size();
  return true;
}

}  // namespace

ReconcileResult ReconcileArchiveList(const std::string& folder, const std::vector<plat::FoundItem>& listing,
                                     const std::string& sharedFolder) {
  ReconcileResult result;
  const std::optional<std::string> listPath = ListToRead(folder, listing, sharedFolder, result);
  if (!listPath) return result;
  plat::ForumLock forum;
  int err = 0;
  switch (forum.Acquire(folder, plat::kLockHolderChecker, plat::ForumLockWait(), &err)) {
    case plat::ForumLock::Outcome::Held: break;
    case plat::ForumLock::Outcome::Busy:
      result.outcome = ReconcileOutcome::Busy;
      result.holder = forum.BusyHolder();
      return result;
    case plat::ForumLock::Outcome::Failed:
      // No lock where no file can be made: the new list could not be either.
      result.outcome = ReconcileOutcome::NotRewritten;
      return result;
  }
  std::vector<std::string> kept;
  if (JudgeLines(folder, listing, *listPath, kept, result)) {
    result.outcome = WriteKeptLines(WhereListLies(*listPath), kept);
  }
  return result;
}

ReconcileResult CheckArchiveList(const std::string& folder, const std::vector<plat::FoundItem>& listing,
                                 const std::string& sharedFolder) {
  ReconcileResult result;
  const std::optional<std::string> listPath = ListToRead(folder, listing, sharedFolder, result);
  if (!listPath) return result;
  std::vector<std::string> kept;
  if (JudgeLines(folder, listing, *listPath, kept, result)) result.outcome = ReconcileOutcome::Checked;
  return result;
}
