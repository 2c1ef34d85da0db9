#include "batch/dry_run_report.h"

#include "batch/json_text.h"
#include "commands/split_preview.h"
#include "model/log_names.h"
#include "platform/encoding.h"

namespace {

std::string Number(int n, bool known, bool json) {
  if (!known) return json ? "null" : "-";
  return std::to_string(n);
}

// The JSON keys of the fields after the name, by kind of line.
const std::vector<const char*>& KeysOf(const std::string& what) {
  static const std::vector<const char*> measured{"name", "lowest", "highest", "size"};
  static const std::vector<const char*> backup{"name", "replaces"};
  static const std::vector<const char*> line{"line"};
  static const std::vector<const char*> none;
  if (what == "old" || what == "log") return measured;
  if (what == "backup") return backup;
  if (what == "append" || what == "drop") return line;
  return none;
}

}  // namespace

void DryRunReport::Line(const std::string& forum, const std::string& file, const char* what,
                        const std::vector<std::string>& fields) const {
  std::string text;
  if (json_) {
    const std::vector<const char*>& keys = KeysOf(what);
    text = "{\"forum\":" + JsonString(forum) + ",\"file\":" + JsonString(file) + ",\"plan\":\"" + what + "\"";
    for (std::size_t i = 0; i < fields.size() && i < keys.size(); ++i) {
      // Names and lines are texts; the other fields are numbers, null or true/false as given.
      const bool isText = i == 0;
      text += std::string(",\"") + keys[i] + "\":" + (isText ? JsonString(fields[i]) : fields[i]);
    }
    text += "}\n";
  } else {
    text = forum + "\t" + file + "\t" + what;
    for (const std::string& field : fields) text += "\t" + field;
    text += "\n";
  }
  std::fputs(text.c_str(), out_);
}

void DryRunReport::Splits(const std::string& forum, const SplitPreview& preview) const {
  for (const PlannedSplit& split : preview.splits) {
    for (std::size_t i = 0; i < split.outputs.size(); ++i) {
      const PlannedOutput& output = split.outputs[i];
      const bool known = output.measure.lowest <= output.measure.highest;
      Line(forum, split.logName, i + 1 < split.outputs.size() ? "old" : "log",
           {output.name, Number(output.measure.lowest, known, json_), Number(output.measure.highest, known, json_),
            std::to_string(output.measure.bytes)});
    }
    const char* replaces = json_                  ? (split.replacesBackup ? "true" : "false")
                           : split.replacesBackup ? "replaces"
                                                  : "new";
    Line(forum, split.logName, "backup", {split.backupName, replaces});
  }
  for (const std::string& log : preview.skipped) Line(forum, log, "skip", {});
  std::fflush(out_);
}

void DryRunReport::ListLines(const std::string& forum, const std::vector<std::string>& lines, const char* what) const {
  for (const std::string& line : lines) Line(forum, kArchiveListName, what, {plat::Cp932ToUtf8(line)});
  std::fflush(out_);
}
