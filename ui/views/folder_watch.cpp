#include "ui/views/folder_watch.h"

#include <QDir>

namespace {

// Long enough for a copy or an unpack to end, short enough to feel at once.
constexpr int kSettleMs = 300;

}  // namespace

FolderWatch::FolderWatch(QObject* parent) : QObject(parent) {
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  connect(&settle_, &QTimer::timeout, this, &FolderWatch::Settle);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this](const QString& folder) {
    touched_.insert(folder);
    settle_.start();
  });
}

void FolderWatch::Watch(const QStringList& folders) {
  if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
  names_.clear();
  touched_.clear();
  for (const QString& folder : folders) names_[folder] = NamesIn(folder);
  if (!folders.isEmpty()) watcher_.addPaths(folders);
}

QStringList FolderWatch::NamesIn(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

void FolderWatch::Settle() {
  bool changed = false;
  for (const QString& folder : touched_) {
    auto it = names_.find(folder);
    if (it == names_.end()) continue;
    QStringList now = NamesIn(folder);
    if (now != it->second) {
      it->second = std::move(now);
      changed = true;
    }
  }
  touched_.clear();
  if (changed) emit namesChanged();
}
