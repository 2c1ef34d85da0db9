#include "model/folder_node.h"

#include <algorithm>
#include <utility>

#include "model/log_names.h"

bool FolderTextBefore(const std::string& a, const std::string& b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(AsciiUpper(a[i]));
    unsigned char y = static_cast<unsigned char>(AsciiUpper(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

FolderNode::FolderNode(std::string nodeText, FolderNode* parentNode)
    : text_(std::move(nodeText)), parent_(parentNode) {}

FolderNode* FolderNode::AddChild(std::string childText) {
  auto node = std::make_unique<FolderNode>(std::move(childText), this);
  auto at = std::upper_bound(children_.begin(), children_.end(), node,
                             [](const std::unique_ptr<FolderNode>& x, const std::unique_ptr<FolderNode>& y) {
                               return FolderTextBefore(x->text_, y->text_);
                             });
  return children_.insert(at, std::move(node))->get();
}

bool FolderNode::RemoveChild(const FolderNode* child) {
  auto it = std::find_if(children_.begin(), children_.end(),
                         [child](const std::unique_ptr<FolderNode>& c) { return c.get() == child; });
  if (it == children_.end()) return false;
  children_.erase(it);
  return true;
}

std::size_t FolderNode::CountDescendants() const {
  std::size_t n = 0;
  for (const auto& child : children_) n += 1 + child->CountDescendants();
  return n;
}
