#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/entry_order.h"

class CDirectory;
class Clock;
class FolderNode;
class HistoryWriter;

// Owns the forum folder objects of one shared log folder and maps folder
// names to them. Each folder is registered under its own name (the shared
// log folder under its full path); a later folder of the same name takes
// over the name, and the one it displaces stays owned here, out of reach of
// the tree, so that its undo history is still written when the set is
// cleared.
class FolderSet {
 public:
  // clock is handed to every folder made through this set (null: the system
  // clock); it must outlive the set.
  explicit FolderSet(const Clock* clock = nullptr);
  ~FolderSet();  // as Clear()
  FolderSet(const FolderSet&) = delete;
  FolderSet& operator=(const FolderSet&) = delete;

  // Who writes the histories of the folders made from now on, and of those
  // made already (null: each folder itself). It must outlive the set.
  void SetHistoryWriter(HistoryWriter* writer);

  // Makes a folder object, registers it under folderName and returns it.
  CDirectory* Create(const std::string& folderName, const std::string& folderPath);

  // The folder made for folderPath earlier, registered again under
  // folderName, so that a tree read again keeps each forum's undo records;
  // else a new one as Create makes it.
  CDirectory* FindOrCreate(const std::string& folderName, const std::string& folderPath);

  CDirectory* Find(const std::string& folderName) const;
  // The folder a tree node stands for (by its map key), or null.
  CDirectory* ForNode(const FolderNode& node) const;

  // Name -> folder, in name order (the order the document destroys them in).
  const std::map<std::string, CDirectory*>& byName() const { return byName_; }
  std::size_t ownedCount() const { return owned_.size(); }

  // Destroys every folder, each writing its undo history: the mapped ones in
  // name order, then the displaced ones in the order they were made. A
  // non-null order sorts each folder's entries first, as the document does
  // at shutdown (ByRoomAndKind).
  void Clear(EntryOrder sortFirst = nullptr);

 private:
  const Clock* clock_;
  HistoryWriter* historyWriter_ = nullptr;
  std::vector<std::unique_ptr<CDirectory>> owned_;  // in the order made
  std::map<std::string, CDirectory*> byName_;
};
