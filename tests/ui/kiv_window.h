#pragma once
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "messages/scripted_messages.h"
#include "ports/clock.h"
#include "tests/support/temp_dir.h"

class CKivApp;
class CMainFrame;
class QSettingsProfile;
class QTreeWidgetItem;

// The real main window of Kiv on a generated shared log folder, with its
// settings in a file of its own, a fixed "today" and every message box
// answered from a script.
class KivWindow {
 public:
  // sampleOptions: extra arguments of kiv-samplegen; an empty folder when
  // generate is false.
  // beforeStart: a shell command run in the shared folder first; settings:
  // the text of the settings file the run starts with.
  explicit KivWindow(const std::string& sampleOptions = "--forums 2 --rooms 3", bool generate = true,
                     const std::string& beforeStart = "", const std::string& settings = "");
  ~KivWindow();

  CMainFrame& frame() { return *frame_; }
  CKivApp& app() { return *app_; }
  ScriptedMessages& messages() { return messages_; }
  const std::string& shared() const { return shared_; }
  std::string Forum(const std::string& name) const { return shared_ + "/" + name; }

  // A click on the tree node of that text, as the user makes it.
  void ClickNode(const QString& text);
  // The texts of list column c, row by row.
  QStringList Column(int c) const;
  int RowOf(const QString& fileName) const;
  // Selects exactly the rows of these files.
  void SelectFiles(const QStringList& names);
  void Trigger(int commandId);
  // The message ids of the boxes shown so far.
  std::vector<int> MessageIds() const;
  // Dialogs that opened with no action queued for them (dismissed at once).
  const QStringList& unexpectedDialogs() const { return unexpected_; }

 private:
  TempDir dir_;
  std::string shared_;
  FixedClock clock_;
  ScriptedMessages messages_;
  std::unique_ptr<QSettingsProfile> profile_;
  std::unique_ptr<CKivApp> app_;
  std::unique_ptr<CMainFrame> frame_;
  QStringList unexpected_;
};

// 10 February 2024, noon in Tokyo: the day the archive names are made for.
inline constexpr std::time_t kToday = 1707534000;
