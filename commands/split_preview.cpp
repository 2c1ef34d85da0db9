#include "commands/split_preview.h"

#include <memory>

#include "commands/export_command.h"
#include "model/directory.h"

std::vector<std::string> SplitPreview::PlannedNames() const {
  std::vector<std::string> names;
  for (const PlannedSplit& split : splits) {
    for (std::size_t i = 0; i + 1 < split.outputs.size(); ++i) names.push_back(split.outputs[i].name);
    names.push_back(split.backupName);
  }
  return names;
}

std::vector<std::string> PlannedArchiveLines(const CDirectory& dir, const SplitPreview& preview) {
  // The folder's entries as the real run would leave them: each planned old
  // log a record of its log's, as the real split records it. The export's own
  // choice and order then apply unchanged.
  std::vector<std::unique_ptr<CFileEntry>> entries;
  for (const auto& entry : dir.entries) {
    auto copy = std::make_unique<CFileEntry>(*entry);
    for (const PlannedSplit& split : preview.splits) {
      if (split.logName != entry->name) continue;
      for (std::size_t i = 0; i + 1 < split.outputs.size(); ++i) {
        CUndo record;
        record.oldLogName = split.outputs[i].name;
        record.headerLine = split.outputs[i].headerLine;
        record.namingForm = split.form;
        copy->undoList.push_back(std::move(record));
      }
    }
    entries.push_back(std::move(copy));
  }
  std::vector<std::string> lines;
  for (const CUndo* record : CollectExportRecords(entries)) {
    std::string line = ArchiveListLine(*record);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}
