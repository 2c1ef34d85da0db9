#pragma once
#include <map>

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

// Watches the folders of the tree for names that come and go: a forum folder
// added, removed or renamed under the shared log folder, a log file added or
// removed in a forum folder. A log that only grows changes no name and is not
// told, so the host's writing never sets the tree to work.
class FolderWatch : public QObject {
  Q_OBJECT

 public:
  explicit FolderWatch(QObject* parent = nullptr);

  // Watches these folders from now on (those watched before are let go).
  void Watch(const QStringList& folders);

 signals:
  // Names changed in one of the folders, some time after the last change
  // seen (a copy of many files is told once).
  void namesChanged();

 private:
  void Settle();
  static QStringList NamesIn(const QString& folder);

  QFileSystemWatcher watcher_;
  QTimer settle_;
  QSet<QString> touched_;
  std::map<QString, QStringList> names_;
};
