#include "model/undo_history.h"

#include <set>

#include "commit/aftercare.h"
#include "commit/append_commit.h"
#include "commit/journal.h"
#include "model/directory.h"
#include "platform/file_ops.h"
#include "platform/local_time.h"
#include "platform/name_in_line.h"

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string LastPathComponent(const std::string& path) {
  std::size_t end = path.size();
  while (end > 0 && IsSeparator(path[end - 1])) --end;
  std::size_t begin = end;
  while (begin > 0 && !IsSeparator(path[begin - 1])) --begin;
  return path.substr(begin, end - begin);
}

}  // namespace

std::string UndoHistoryName(const CDirectory& dir) {
  // A forum folder's name is one component of its path; only the shared log
  // folder is named by its whole path. A "\\" in a folder's own name is just
  // a character of it here.
  bool nameIsPath = dir.name == dir.path || dir.name.find('/') != std::string::npos;
  std::string base = nameIsPath ? LastPathComponent(dir.path) : dir.name;
  return base + ".KIV";
}

std::string UndoHistoryPath(const CDirectory& dir) { return plat::JoinPath(dir.path, UndoHistoryName(dir)); }

std::string UndoHistoryStamp(std::time_t t) { return plat::FormatLocalTime(t, "%Y/%m/%d %H:%M"); }

std::string FormatUndoHistoryBlock(const CFileEntry& entry, const std::string& localTime) {
  std::string lines;
  for (const CUndo& undo : entry.undoList) lines += commit::RecordLine(undo.oldLogName, undo.headerLine);
  return commit::HistoryBlock(localTime, lines);
}

namespace {

// The splits' journals have kept the lines for a run that would not live to
// write them; with the block written, they go.
void ReleaseJournals(CFileEntry& entry) {
  std::set<commit::Journal*> removed;
  for (CUndo& undo : entry.undoList) {
    if (undo.journal && removed.insert(undo.journal.get()).second) {
      commit::Fault ignored;
      undo.journal->Remove(&ignored);
    }
    undo.journal.reset();
  }
}

}  // namespace

bool AppendUndoHistory(CDirectory& dir) {
  const std::string name = UndoHistoryName(dir);
  bool allWritten = true;
  for (const auto& entry : dir.entries) {
    if (!entry || entry->undoList.empty()) continue;
    std::string stamp = UndoHistoryStamp(dir.clock().Now());
    // Journaled: a block cut short by a kill is written in full by the next
    // run. Never written through a link out of the folder or to no regular file.
    const commit::AppendResult appended =
        commit::AppendDurably(dir.path, name, commit::HostLineEnds(FormatUndoHistoryBlock(*entry, stamp)));
    if (appended.outcome != commit::Outcome::Done) {
      allWritten = false;
    } else {
      ReleaseJournals(*entry);
    }
  }
  return allWritten;
}
