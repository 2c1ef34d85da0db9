#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "commands/command_context.h"
#include "messages/box_decisions.h"
#include "messages/companion_mode.h"
#include "messages/scripted_messages.h"
#include "model/directory.h"
#include "model/kiv_doc.h"
#include "platform/fault_injection.h"
#include "ports/clock.h"
#include "ports/dialogs.h"
#include "ports/memory_profile.h"
#include "ports/progress.h"
#include "ports/rows.h"
#include "tests/support/temp_dir.h"

// The list rows as plain data, for the commands to edit and the tests to read.
class FakeRows : public RowsPort {
 public:
  struct Row {
    EntryRow texts;
    int states = 0;
  };
  int RowCount() const override { return static_cast<int>(rows.size()); }
  bool IsRowSelected(int row) const override {
    return (rows.at(static_cast<std::size_t>(row)).states & kRowSelected) != 0;
  }
  bool IsRowFocused(int row) const override {
    return (rows.at(static_cast<std::size_t>(row)).states & kRowFocused) != 0;
  }
  void SetCellText(int row, int column, const std::string& text) override {
    rows.at(static_cast<std::size_t>(row)).texts.cells.at(static_cast<std::size_t>(column)) = text;
    cellLog.push_back(std::to_string(row) + ":" + std::to_string(column) + "=" + text);
  }
  void InsertRow(int row, const EntryRow& texts, int states) override {
    rows.insert(rows.begin() + row, Row{texts, states});
  }
  void DeleteRow(int row) override { rows.erase(rows.begin() + row); }
  void RepaintNow() override { ++repaints; }

  const std::string& Cell(int row, int column) const {
    return rows.at(static_cast<std::size_t>(row)).texts.cells.at(static_cast<std::size_t>(column));
  }
  void Select(const std::vector<int>& selected) {
    for (auto& r : rows) r.states &= ~kRowSelected;
    for (int i : selected) rows.at(static_cast<std::size_t>(i)).states |= kRowSelected;
  }

  std::vector<Row> rows;
  std::vector<std::string> cellLog;
  int repaints = 0;
};

// Split dialogs that record what they were filled with and close as the
// test says, after letting it change the values.
class ScriptedDialogs : public SplitDialogPort {
 public:
  bool RunSplitSingle(SplitSingleValues& v) override {
    ++shown;
    single = v;
    if (onSingle) onSingle(v);
    return ok;
  }
  bool RunSplitMulti(SplitMultiValues& v) override {
    ++shown;
    multi = v;
    if (onMulti) onMulti(v);
    return ok;
  }
  int shown = 0;
  bool ok = true;
  SplitSingleValues single;
  SplitMultiValues multi;
  std::function<void(SplitSingleValues&)> onSingle;
  std::function<void(SplitMultiValues&)> onMulti;
};

// One file operation failing on paths that end with a suffix, while it
// lives; several may be active at once.
class FailOperation {
 public:
  FailOperation(plat::FileOp op, std::string suffix, int err);
  ~FailOperation();
  int hits = 0;

 private:
  static int Hook(plat::FileOp op, const char* path);
  plat::FileOp op_;
  std::string suffix_;
  int err_;
};

// A forum folder FORUM1 in a temporary folder, current in a document made
// on an in-memory profile, with the list rows, a scripted message port, a
// clock fixed at 10 February 1998 and no progress display.
class ForumFixture {
 public:
  ForumFixture();
  ~ForumFixture();

  // Writes a body (kind 1) or title (kind 2) log of room with the messages
  // first .. first + count - 1; returns its file name.
  std::string WriteLog(int room, int kind, int first, int count);
  // Rescans and rebuilds the rows (the list's update with hint 0).
  void Refresh();
  // Refreshes, selects the rows of the given rooms and analyses them.
  void AnalyzeRooms(const std::vector<int>& rooms);
  void SelectRooms(const std::vector<int>& rooms);
  int RowOf(const std::string& name) const;
  CFileEntry& Entry(const std::string& name);
  std::string Path(const std::string& name) const { return plat_path(name); }
  bool Exists(const std::string& name) const;
  // Names in the folder that a commit uses while it works (its journal and
  // temporary files): none is left when a command has ended.
  std::vector<std::string> TemporaryFiles() const;
  // Moves a file's last-write time on by seconds.
  void Touch(const std::string& name, int seconds = 5);

  TempDir tmp;
  std::string forum;  // path of FORUM1
  MemoryProfile profile;
  FixedClock clock;
  CompanionMode mode;
  ScriptedMessages messages;
  Messenger messenger;
  BoxDecisions decisions;
  NoProgress progress;
  std::unique_ptr<CKivDoc> doc;
  CDirectory* dir = nullptr;
  FakeRows rows;
  CommandContext ctx;

 private:
  std::string plat_path(const std::string& name) const { return forum + "/" + name; }
};
