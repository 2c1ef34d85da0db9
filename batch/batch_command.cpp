#include "batch/batch_command.h"

#include <cerrno>
#include <cstdlib>

#include "ports/dialogs.h"

namespace {

bool ParseNumber(const std::string& text, int low, int high, int& out) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 6) return false;
  long value = std::strtol(text.c_str(), nullptr, 10);
  if (value < low || value > high) return false;
  out = static_cast<int>(value);
  return true;
}

bool ParseVerb(const std::string& word, BatchCommand::Verb& verb) {
  if (word == "list")
    verb = BatchCommand::Verb::List;
  else if (word == "analyze")
    verb = BatchCommand::Verb::Analyze;
  else if (word == "split")
    verb = BatchCommand::Verb::Split;
  else if (word == "undo")
    verb = BatchCommand::Verb::Undo;
  else if (word == "export")
    verb = BatchCommand::Verb::Export;
  else
    return false;
  return true;
}

}  // namespace

bool ParseRoomList(const std::string& text, RoomSet& rooms) {
  rooms = 0;
  std::size_t start = 0;
  for (;;) {
    std::size_t comma = text.find(',', start);
    int room = 0;
    if (!ParseNumber(text.substr(start, comma - start), kFirstRoom, kLastRoom, room)) return false;
    rooms |= RoomBit(room);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

bool ParseBatchCommand(const std::vector<std::string>& words, BatchCommand& command, std::string& error) {
  command = BatchCommand{};
  if (!words.empty() && words[0] == "maintain") {
    // It takes a shared log folder, not the one forum a session runs on.
    error = "maintain runs on a shared log folder, not in a session";
    return false;
  }
  if (words.empty() || !ParseVerb(words[0], command.verb)) {
    error = "unknown command" + (words.empty() ? std::string() : " " + words[0]);
    return false;
  }
  using Verb = BatchCommand::Verb;
  const Verb verb = command.verb;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string& w = words[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= words.size()) return false;
      out = words[++i];
      return true;
    };
    std::string v;
    const bool splitOnly = verb == Verb::Split;
    if (w == "--rooms" && (verb == Verb::Analyze || verb == Verb::Split || verb == Verb::Undo)) {
      if (!value(v) || !ParseRoomList(v, command.rooms)) {
        error = "--rooms takes room numbers 1-20 separated by commas";
        return false;
      }
      command.roomsGiven = true;
    } else if (w == "--number" && splitOnly) {
      int n = 0;
      if (!value(v) || !ParseNumber(v, 0, kSplitNumberMax, n)) {
        error = "--number takes 0 to 65536";
        return false;
      }
      command.number = n;
    } else if (w == "--kind" && splitOnly) {
      if (!value(v) || (v != "body" && v != "title" && v != "both")) {
        error = "--kind is body, title or both";
        return false;
      }
      command.kindIndex = v == "body" ? kKindIndexBody : v == "title" ? kKindIndexTitle : kKindIndexBoth;
    } else if ((w == "--method" || w == "--form") && splitOnly) {
      int n = 0;
      if (!value(v) || !ParseNumber(v, 0, 1, n)) {
        error = w + " is 0 or 1";
        return false;
      }
      if (w == "--method") {
        command.method = SplitMethodFromSetting(n);
      } else {
        command.form = NamingFormFromSetting(n);
      }
    } else if (w == "--bak" && splitOnly) {
      command.bak = true;
    } else if (w == "--overwrite" && splitOnly) {
      command.overwrite = true;
    } else if (w == "--export" && splitOnly) {
      command.exportAfter = true;
    } else if (w == "--dry-run" && splitOnly) {
      command.dryRun = true;
    } else if (w == "--json" && (verb == Verb::List || verb == Verb::Analyze)) {
      command.json = true;
    } else {
      error = "unexpected argument " + w + " for " + words[0];
      return false;
    }
  }
  if ((verb == Verb::Split || verb == Verb::Undo) && !command.roomsGiven) {
    error = words[0] + " needs --rooms LIST";
    return false;
  }
  return true;
}

namespace {

bool ParseForumNames(const std::string& text, std::vector<std::string>& names) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    names.push_back(text.substr(start, comma - start));
    if (names.back().empty()) return false;
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

}  // namespace

bool ParseMaintainCommand(const std::vector<std::string>& words, MaintainCommand& command, std::string& error) {
  command = MaintainCommand{};
  bool cutGiven = false;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string& w = words[i];
    const bool hasValue = i + 1 < words.size();
    const std::string v = hasValue ? words[i + 1] : std::string();
    if (w == "--forums") {
      if (!hasValue || !ParseForumNames(v, command.forums)) {
        error = "--forums takes folder names separated by commas";
        return false;
      }
      ++i;
    } else if (w == "--rooms") {
      if (!hasValue || !ParseRoomList(v, command.rooms)) {
        error = "--rooms takes room numbers 1-20 separated by commas";
        return false;
      }
      command.roomsGiven = true;
      ++i;
    } else if (w == "--keep" || w == "--number") {
      if (cutGiven) {
        error = "--keep and --number exclude each other";
        return false;
      }
      if (!hasValue || !ParseNumber(v, 0, kSplitNumberMax, command.value)) {
        error = w + " takes 0 to 65536";
        return false;
      }
      command.cut = w == "--keep" ? MaintainCommand::Cut::Keep : MaintainCommand::Cut::Number;
      cutGiven = true;
      ++i;
    } else if (w == "--export") {
      command.exportAfter = true;
    } else if (w == "--overwrite") {
      command.overwrite = true;
    } else if (w == "--check-lists") {
      command.checkLists = true;
    } else if (w == "--dry-run") {
      command.dryRun = true;
    } else if (w == "--json") {
      command.json = true;
    } else {
      error = "unexpected argument " + w + " for maintain";
      return false;
    }
  }
  return true;
}

std::vector<std::string> SessionLineWords(const std::string& line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (i < line.size() && line[i] == '#') return words;
  while (i < line.size()) {
    std::size_t end = line.find_first_of(" \t\r", i);
    if (end == std::string::npos) end = line.size();
    if (end > i) words.push_back(line.substr(i, end - i));
    i = end + 1;
  }
  return words;
}
