#include "model/entry_scan.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "commit/journal.h"
#include "model/directory.h"
#include "model/log_names.h"
#include "platform/dir_search.h"
#include "platform/file_ops.h"

namespace {

using Entries = std::vector<std::unique_ptr<CFileEntry>>;

// Logs of several gigabytes are kept at their true size.
std::int64_t ClampedSize(std::int64_t size) { return size < 0 ? 0 : size; }

void DropVanishedUndoRecords(const CDirectory& dir, CFileEntry& entry) {
  auto gone = [&dir](const CUndo& undo) { return !plat::FileExists(plat::JoinPath(dir.path, undo.oldLogName)); };
  std::vector<std::shared_ptr<commit::Journal>> journals;
  for (const CUndo& undo : entry.undoList) {
    if (undo.journal && gone(undo)) journals.push_back(undo.journal);
  }
  entry.undoList.erase(std::remove_if(entry.undoList.begin(), entry.undoList.end(), gone), entry.undoList.end());
  // A split none of whose old logs stands any more is owed nothing: its
  // journal goes rather than leave a later run lines to write.
  std::sort(journals.begin(), journals.end());
  journals.erase(std::unique(journals.begin(), journals.end()), journals.end());
  for (auto& journal : journals) {
    if (journal.use_count() == 1) {
      commit::Fault ignored;
      journal->Remove(&ignored);
    }
  }
}

std::unique_ptr<CFileEntry> MakeEntry(const plat::FoundItem& item, std::time_t mtime) {
  auto entry = std::make_unique<CFileEntry>();
  entry->name = item.name;
  entry->kind = LogKindFromName(item.name);
  entry->room = RoomFromName(item.name);
  RenewChangedEntry(*entry, mtime, item.size);
  return entry;
}

}  // namespace

void RenewChangedEntry(CFileEntry& entry, std::time_t mtime, std::int64_t size) {
  entry.modificationTime = mtime;
  entry.size = ClampedSize(size);
  entry.ForgetRange();
  entry.headerText.clear();
  entry.RetireUndoRecords();
  entry.logAsLeft = plat::FileIdentity{};
}

bool RescanEntries(CDirectory& dir, EntryOrder order) {
  std::vector<plat::FoundItem> found;
  if (!plat::FindFiles(dir.path, kLogFilePattern, &found)) {
    // Nothing was learnt about the files, so none is taken for gone: their
    // analysis results and undo records stay for when the folder can be
    // read again.
    return false;
  }

  Entries old = std::move(dir.entries);
  dir.entries.clear();
  Entries kept;
  for (const plat::FoundItem& item : found) {
    if (item.isDirectory || IsRoomListName(item.name)) continue;
    plat::FileStatus status;
    bool known = plat::GetFileStatus(plat::JoinPath(dir.path, item.name), &status);
    // The search read the file's time a moment ago; a passing failure to
    // read it again must not cost the entry its undo records.
    if (!known && item.mtime != 0) {
      status.mtime = item.mtime;
      known = true;
    }
    // Without any time the file can't be shown unchanged, so it gets a new
    // entry with time 0, which its next successful status read won't match.
    auto same = old.end();
    if (known) {
      same = std::find_if(old.begin(), old.end(), [&](const std::unique_ptr<CFileEntry>& e) {
        return e->name == item.name && e->modificationTime == status.mtime;
      });
    }
    if (same != old.end()) {
      DropVanishedUndoRecords(dir, **same);
      kept.push_back(std::move(*same));
      old.erase(same);
    } else {
      kept.push_back(MakeEntry(item, known ? status.mtime : 0));
      // The host wrote to the log: its splits can't be undone any more, but
      // the old logs they made are still owed their lines.
      auto changed = std::find_if(old.begin(), old.end(),
                                  [&](const std::unique_ptr<CFileEntry>& e) { return e->name == item.name; });
      if (changed != old.end()) {
        kept.back()->undoList = std::move((*changed)->undoList);
        kept.back()->RetireUndoRecords();
        DropVanishedUndoRecords(dir, *kept.back());
      }
    }
  }

  for (auto& entry : old) entry.reset();  // gone or changed: first to last
  old.clear();

  dir.entries = std::move(kept);
  for (std::size_t i = 0; i < dir.entries.size(); ++i) dir.entries[i]->index = static_cast<int>(i);
  SortEntries(dir, order);
  return true;
}
