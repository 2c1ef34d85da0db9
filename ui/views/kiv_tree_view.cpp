#include "ui/views/kiv_tree_view.h"

#include <vector>

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTreeWidgetItemIterator>

#include "model/directory.h"
#include "model/folder_node.h"
#include "model/folder_scan.h"
#include "resources/ids.h"
#include "ui/qt_support/kiv_icons.h"
#include "ui/qt_support/qt_text.h"

namespace {

constexpr const char kRootText[] = "ﾛｸﾞﾌｫﾙﾀﾞ";
constexpr int kNodeRole = Qt::UserRole + 1;

}  // namespace

CKivTreeView::CKivTreeView(CKivDoc& doc, QWidget* parent) : QTreeWidget(parent), doc_(doc) {
  setObjectName(QStringLiteral("CKivTreeView"));
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  // The selected picture is the open folder, the others the closed one.
  nodeIcon_.addPixmap(KivPixmap(ids::kIconFolder), QIcon::Normal);
  nodeIcon_.addPixmap(KivPixmap(ids::kIconFolderSelected), QIcon::Selected);
  connect(this, &QTreeWidget::itemSelectionChanged, this, &CKivTreeView::OnSelectionChanged);
  doc_.AddView(this);
}

CKivTreeView::~CKivTreeView() { doc_.RemoveView(this); }

void CKivTreeView::OnInitialUpdate() { Build(); }

void CKivTreeView::OnUpdate(int hint) {
  if (hint == kHintLogFolderChanged) Build();
}

void CKivTreeView::Build() {
  building_ = true;
  clear();
  root_.reset();
  if (!doc_.m_strLogFolder.empty()) root_ = BuildFolderTree(doc_.m_strLogFolder, doc_.folders());
  if (root_) {
    auto* rootItem = new QTreeWidgetItem(this, QStringList(QString::fromUtf8(kRootText)));
    rootItem->setIcon(0, nodeIcon_);
    rootItem->setData(0, kNodeRole, QVariant::fromValue(static_cast<void*>(root_.get())));
    AddChildren(rootItem, *root_);
    rootItem->setExpanded(true);
  }
  setCurrentItem(nullptr);
  building_ = false;
  emit rebuilt();
}

void CKivTreeView::Refresh() {
  const CDirectory* before = doc_.CurrentFolder();
  const std::string chosen = before ? before->path : std::string();
  std::vector<std::string> expanded;
  for (QTreeWidgetItemIterator it(this); *it; ++it) {
    const CDirectory* dir = FolderOf(*it);
    if (dir && (*it)->isExpanded()) expanded.push_back(dir->path);
  }
  Build();
  for (const std::string& path : expanded) {
    if (QTreeWidgetItem* item = ItemOfFolder(path)) item->setExpanded(true);
  }
  if (chosen.empty()) return;
  if (QTreeWidgetItem* item = ItemOfFolder(chosen)) {
    building_ = true;  // the same forum, chosen still: its list is the caller's to read again
    setCurrentItem(item);
    building_ = false;
    doc_.SetCurrentFolder(FolderOf(item));
  } else {
    doc_.SetCurrentFolder(nullptr);
    doc_.UpdateAllViews(this, kHintFolderChosen);
  }
}

bool CKivTreeView::ChooseFolder(const std::string& path) {
  QTreeWidgetItem* item = ItemOfFolder(path);
  if (!item || item->childCount() != 0 || !item->parent()) return false;
  setCurrentItem(item);
  return true;
}

QTreeWidgetItem* CKivTreeView::ItemOfFolder(const std::string& path) const {
  for (QTreeWidgetItemIterator it(const_cast<CKivTreeView*>(this)); *it; ++it) {
    const CDirectory* dir = FolderOf(*it);
    if (dir && dir->path == path) return *it;
  }
  return nullptr;
}

QStringList CKivTreeView::FoldersToWatch() const {
  QStringList folders;
  for (QTreeWidgetItemIterator it(const_cast<CKivTreeView*>(this)); *it; ++it) {
    const CDirectory* dir = FolderOf(*it);
    if (!dir) continue;
    const QString path = QFile::decodeName(QByteArray::fromStdString(dir->path));
    folders << path;
    if ((*it)->childCount() == 0) continue;
    for (const QString& sub : QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
      folders << QDir(path).filePath(sub);
    }
  }
  folders.removeDuplicates();
  return folders;
}

// The scan keeps each node's children in the tree's sorted order already.
void CKivTreeView::AddChildren(QTreeWidgetItem* item, const FolderNode& node) {
  for (const auto& child : node.children()) {
    auto* childItem = new QTreeWidgetItem(item, QStringList(Qs(child->text())));
    childItem->setIcon(0, nodeIcon_);
    childItem->setData(0, kNodeRole, QVariant::fromValue(static_cast<void*>(child.get())));
    AddChildren(childItem, *child);
  }
}

const FolderNode* CKivTreeView::NodeOf(const QTreeWidgetItem* item) const {
  if (!item) return nullptr;
  return static_cast<const FolderNode*>(item->data(0, kNodeRole).value<void*>());
}

CDirectory* CKivTreeView::FolderOf(const QTreeWidgetItem* item) const {
  const FolderNode* node = NodeOf(item);
  return node ? doc_.folders().ForNode(*node) : nullptr;
}

QTreeWidgetItem* CKivTreeView::FindItem(const QString& text) const {
  const QList<QTreeWidgetItem*> found = findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
  return found.isEmpty() ? nullptr : found.front();
}

// Only a leaf the user chose is a forum folder to list; the root stands for
// the shared log folder, whose own log files are never listed.
void CKivTreeView::OnSelectionChanged() {
  // The tree being built again changes the selection; the user did not.
  if (building_) return;
  CDirectory* chosen = nullptr;
  const QList<QTreeWidgetItem*> selected = selectedItems();
  QTreeWidgetItem* item = selected.isEmpty() ? nullptr : selected.front();
  if (item && item->childCount() == 0 && item->parent() != nullptr) {
    chosen = FolderOf(item);
  }
  doc_.SetCurrentFolder(chosen);
  doc_.UpdateAllViews(this, kHintFolderChosen);
}

void CKivTreeView::keyPressEvent(QKeyEvent* event) {
  QTreeWidgetItem* item = currentItem();
  if (event->key() == Qt::Key_Right && event->modifiers() == Qt::NoModifier && item && item->isSelected() &&
      item->childCount() == 0) {
    emit nextPaneRequested();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}
