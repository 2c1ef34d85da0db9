#include "commands/export_command.h"

#include <array>

#include "commands/room_selection.h"
#include "commit/aftercare.h"
#include "commit/append_commit.h"
#include "model/directory.h"
#include "model/kiv_doc.h"
#include "model/log_names.h"

namespace {

bool Exportable(const CUndo& record) { return record.namingForm == NamingForm::Archive && record.exported == 0; }

}  // namespace

std::vector<CUndo*> CollectExportRecords(CDirectory& dir) { return CollectExportRecords(dir.entries); }

std::vector<CUndo*> CollectExportRecords(const std::vector<std::unique_ptr<CFileEntry>>& entries) {
  std::array<std::vector<CUndo*>, kLastRoom + 1> slots;
  // Every archive-form old log of each room's body logs, exported or not: a
  // title log's twin of one of them never gets a line of its own, also not
  // in a later run after the body log's line went out.
  std::array<std::vector<const CUndo*>, kLastRoom + 1> bodyOldLogs;
  // Body logs first: a room with two body logs exports the old logs of both.
  for (const auto& entry : entries) {
    if (entry->undoList.empty() || entry->kind != kKindBody || !IsCommandRoom(entry->room)) continue;
    const std::size_t room = static_cast<std::size_t>(entry->room);
    for (CUndo& record : entry->undoList) {
      if (record.namingForm == NamingForm::Archive) bodyOldLogs[room].push_back(&record);
      if (Exportable(record)) slots[room].push_back(&record);
    }
  }
  for (const auto& entry : entries) {
    if (entry->undoList.empty() || entry->kind != kKindTitle || !IsCommandRoom(entry->room)) continue;
    const std::size_t room = static_cast<std::size_t>(entry->room);
    for (CUndo& record : entry->undoList) {
      if (!Exportable(record)) continue;
      const std::string bodyName = commit::AsBodyName(record.oldLogName);
      bool shared = false;
      for (const CUndo* other : bodyOldLogs[room]) shared = shared || other->oldLogName == bodyName;
      for (const CUndo* other : slots[room]) shared = shared || other->oldLogName == bodyName;
      if (!shared) slots[room].push_back(&record);
    }
  }
  std::vector<CUndo*> records;
  for (int room = kFirstRoom; room <= kLastRoom; ++room) {
    for (CUndo* record : slots[static_cast<std::size_t>(room)]) records.push_back(record);
  }
  return records;
}

std::string ArchiveListLine(const CUndo& record) { return commit::RecordLine(record.oldLogName, record.headerLine); }

ExportReport OnExportHeaders(CommandContext& ctx) {
  ExportReport report;
  CDirectory* dir = ctx.doc.CurrentFolder();
  if (!dir) return report;
  std::vector<CUndo*> records = CollectExportRecords(*dir);
  if (records.empty()) return report;

  std::string text;
  for (const CUndo* record : records) text += ArchiveListLine(*record);

  // Journaled: lines cut short by a kill are written in full by the next run,
  // and a failed append leaves the list as it was. Never written through a
  // link out of the forum folder or to no regular file.
  const commit::AppendResult appended = commit::AppendDurably(dir->path, kArchiveListName, commit::HostLineEnds(text));
  if (appended.outcome != commit::Outcome::Done) {
    ctx.messenger.FileError(kArchiveListName, appended.fault.err);
    report.failed = true;
    return report;
  }
  for (CUndo* record : records) record->exported = 1;
  report.lines = static_cast<int>(records.size());
  return report;
}
