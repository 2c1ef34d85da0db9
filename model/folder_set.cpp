#include "model/folder_set.h"

#include <algorithm>

#include "model/directory.h"
#include "model/folder_node.h"

FolderSet::FolderSet(const Clock* clock) : clock_(clock) {}

FolderSet::~FolderSet() { Clear(); }

void FolderSet::SetHistoryWriter(HistoryWriter* writer) {
  historyWriter_ = writer;
  for (auto& dir : owned_) dir->SetHistoryWriter(writer);
}

CDirectory* FolderSet::Create(const std::string& folderName, const std::string& folderPath) {
  owned_.push_back(std::make_unique<CDirectory>(folderName, folderPath, clock_));
  CDirectory* dir = owned_.back().get();
  dir->SetHistoryWriter(historyWriter_);
  byName_[folderName] = dir;
  return dir;
}

CDirectory* FolderSet::FindOrCreate(const std::string& folderName, const std::string& folderPath) {
  for (const auto& dir : owned_) {
    if (dir->path == folderPath && dir->name == folderName) {
      byName_[folderName] = dir.get();
      return dir.get();
    }
  }
  return Create(folderName, folderPath);
}

CDirectory* FolderSet::Find(const std::string& folderName) const {
  auto it = byName_.find(folderName);
  return it == byName_.end() ? nullptr : it->second;
}

CDirectory* FolderSet::ForNode(const FolderNode& node) const { return Find(node.mapKey()); }

void FolderSet::Clear(EntryOrder sortFirst) {
  auto destroy = [sortFirst](std::unique_ptr<CDirectory>& dir) {
    if (!dir) return;
    SortEntries(*dir, sortFirst);
    dir.reset();
  };
  for (const auto& [folderName, mapped] : byName_) {
    const CDirectory* target = mapped;  // clang can't capture a structured binding
    auto it = std::find_if(owned_.begin(), owned_.end(),
                           [target](const std::unique_ptr<CDirectory>& d) { return d.get() == target; });
    if (it != owned_.end()) destroy(*it);
  }
  byName_.clear();
  for (auto& dir : owned_) destroy(dir);
  owned_.clear();
}
