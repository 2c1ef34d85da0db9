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

  // The node an item stands for (null for none).
  const FolderNode* NodeOf(const QTreeWidgetItem* item) const;
  QTreeWidgetItem* FindItem(const QString& text) const;

 signals:
  void nextPaneRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Build();
  void AddChildren(QTreeWidgetItem* item, const FolderNode& node);
  void OnSelectionChanged();

  CKivDoc& doc_;
  std::unique_ptr<FolderNode> root_;
  QIcon nodeIcon_;
  bool building_ = false;
};
