#pragma once
#include <memory>

#include <QTreeWidget>

#include "model/kiv_doc.h"

class FolderNode;

// CKivTreeView: the forum folders under the shared log folder, under the
// root "ﾛｸﾞﾌｫﾙﾀﾞ". Building it scans the shared log folder (the document's
// folders are made by that scan); choosing a leaf makes its folder the
// document's current folder.
class CKivTreeView : public QTreeWidget, public CKivView {
  Q_OBJECT

 public:
  explicit CKivTreeView(CKivDoc& doc, QWidget* parent = nullptr);
  ~CKivTreeView() override;

  // The first build, when the window is first shown.
  void OnInitialUpdate();
  // Hint 2 (the shared log folder changed) builds the tree again.
  void OnUpdate(int hint) override;
  // Reads the shared log folder again: forum folders added show, those gone
  // go, each forum keeps its folder object (and so its undo records), and
  // the forum chosen stays chosen while it exists (its list is left to be
  // read again by the caller); when it is gone, the list empties.
  void Refresh();
  // Chooses the forum folder at path, as a click on it does; false when the
  // tree has no such forum.
  bool ChooseFolder(const std::string& path);

  // The folders whose names the tree and the list show: the shared log
  // folder, every folder of the tree, and every folder within a folder
  // leading to forums (a new forum folder is empty before it holds a log).
  QStringList FoldersToWatch() const;

  // The node an item stands for (null for none).
  const FolderNode* NodeOf(const QTreeWidgetItem* item) const;
  // The folder an item stands for (null for none).
  CDirectory* FolderOf(const QTreeWidgetItem* item) const;
  QTreeWidgetItem* FindItem(const QString& text) const;

 signals:
  void nextPaneRequested();
  // The tree was built again from the disk.
  void rebuilt();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Build();
  QTreeWidgetItem* ItemOfFolder(const std::string& path) const;
  void AddChildren(QTreeWidgetItem* item, const FolderNode& node);
  void OnSelectionChanged();

  CKivDoc& doc_;
  std::unique_ptr<FolderNode> root_;
  QIcon nodeIcon_;
  bool building_ = false;
};
