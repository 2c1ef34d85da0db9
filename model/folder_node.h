#pragma once
#include <memory>
#include <string>
#include <vector>

// One node of the folder tree the scan builds and the tree view mirrors.
// Children are kept in the tree's sorted order: by their texts compared
// byte by byte with ASCII letters folded to upper case, ties (texts that
// differ only in case) by their exact bytes, an equal text after the ones
// already there.
class FolderNode {
 public:
  explicit FolderNode(std::string nodeText, FolderNode* parentNode = nullptr);
  FolderNode(const FolderNode&) = delete;
  FolderNode& operator=(const FolderNode&) = delete;

  const std::string& text() const { return text_; }
  FolderNode* parent() const { return parent_; }
  const std::vector<std::unique_ptr<FolderNode>>& children() const { return children_; }

  // The name the folder is registered under in the folder map: its own name,
  // or for the shared log folder its full path. Set by the folder scan.
  const std::string& mapKey() const { return mapKey_; }
  void setMapKey(std::string key) { mapKey_ = std::move(key); }

  // Inserts a child among its siblings in sorted order and returns it.
  FolderNode* AddChild(std::string childText);
  // Deletes child and everything under it; false when it is not a child.
  bool RemoveChild(const FolderNode* child);

  // Number of nodes under this one, itself not counted.
  std::size_t CountDescendants() const;

 private:
  std::string text_;
  std::string mapKey_;
  FolderNode* parent_;
  std::vector<std::unique_ptr<FolderNode>> children_;
};

// The tree's sibling order; true when a goes before b.
bool FolderTextBefore(const std::string& a, const std::string& b);
