#include "tests/commands/forum_fixture.h"

#include <algorithm>

#include "commands/analyze_command.h"
#include "commands/entry_row.h"
#include "platform/dir_search.h"
#include "platform/file_ops.h"
#include "platform/local_time.h"
#include "tools/samplegen/log_writer.h"

namespace {
std::vector<FailOperation*> g_active;
}

FailOperation::FailOperation(plat::FileOp op, std::string suffix, int err)
    : op_(op), suffix_(std::move(suffix)), err_(err) {
  g_active.push_back(this);
  plat::SetFaultHook(&FailOperation::Hook);
}

FailOperation::~FailOperation() {
  g_active.erase(std::find(g_active.begin(), g_active.end(), this));
  if (g_active.empty()) plat::SetFaultHook(nullptr);
}

int FailOperation::Hook(plat::FileOp op, const char* path) {
  const std::string p = path;
  for (FailOperation* f : g_active) {
    if (op != f->op_ || p.size() < f->suffix_.size() ||
        p.compare(p.size() - f->suffix_.size(), f->suffix_.size(), f->suffix_) != 0) {
      continue;
    }
    ++f->hits;
    return f->err_;
  }
  return 0;
}

ForumFixture::ForumFixture()
    : clock(plat::MakeLocalTime(1998, 2, 10, 12, 0)),
      messenger(messages, mode),
      decisions(messenger),
      doc(std::make_unique<CKivDoc>(profile, false, &clock)),
      ctx{*doc, rows, messenger, decisions, progress, clock} {
  forum = tmp.Sub("FORUM1");
  MakeDir(forum);
  dir = doc->folders().Create("FORUM1", forum);
  doc->SetCurrentFolder(dir);
}

ForumFixture::~ForumFixture() { doc->Shutdown(); }

std::string ForumFixture::WriteLog(int room, int kind, int first, int count) {
  char name[16];
  std::snprintf(name, sizeof name, "MES%c%02d.LOG", kind == kKindTitle ? '#' : '_', room);
  samplegen::LogOptions options;
  options.kind = kind == kKindTitle ? samplegen::LogKind::Title : samplegen::LogKind::Body;
  options.room = room;
  options.first = first;
  options.messages = count;
  options.meanLines = 1;
  options.replace = true;
  samplegen::LogResult r = samplegen::WriteLogFile(plat_path(name), options);
  if (!r.ok) throw std::runtime_error(r.error);
  return name;
}

void ForumFixture::Refresh() {
  doc->RescanEntries();
  RebuildRows(rows, *dir, mode);
}

void ForumFixture::SelectRooms(const std::vector<int>& rooms) {
  std::vector<int> selected;
  for (std::size_t i = 0; i < dir->entries.size(); ++i) {
    if (std::find(rooms.begin(), rooms.end(), dir->entries[i]->room) != rooms.end()) {
      selected.push_back(static_cast<int>(i));
    }
  }
  this->rows.Select(selected);
}

void ForumFixture::AnalyzeRooms(const std::vector<int>& rooms) {
  Refresh();
  SelectRooms(rooms);
  OnAnalyze(ctx);
}

int ForumFixture::RowOf(const std::string& name) const {
  for (std::size_t i = 0; i < dir->entries.size(); ++i) {
    if (dir->entries[i]->name == name) return static_cast<int>(i);
  }
  return -1;
}

CFileEntry& ForumFixture::Entry(const std::string& name) {
  int i = RowOf(name);
  if (i < 0) throw std::runtime_error("no entry " + name);
  return *dir->entries[static_cast<std::size_t>(i)];
}

bool ForumFixture::Exists(const std::string& name) const { return plat::FileExists(plat_path(name)); }

std::vector<std::string> ForumFixture::TemporaryFiles() const {
  std::vector<plat::FoundItem> found;
  plat::FindFiles(forum, "~KIV-*", &found);
  std::vector<std::string> names;
  for (const plat::FoundItem& item : found) names.push_back(item.name);
  return names;
}

void ForumFixture::Touch(const std::string& name, int seconds) {
  plat::FileStatus st;
  plat::GetFileStatus(plat_path(name), &st);
  plat::SetFileTime(plat_path(name), st.mtime + seconds);
}
