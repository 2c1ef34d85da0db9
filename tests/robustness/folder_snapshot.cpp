#include "tests/robustness/folder_snapshot.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace robust {

namespace {

std::string ReadWhole(const std::string& path) {
  std::string out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  char buf[1 << 16];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return out;
}

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

std::string BaseName(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsHistory(const std::string& path) { return Upper(path).ends_with(".KIV"); }
bool IsAppended(const std::string& path) { return IsHistory(path) || Upper(BaseName(path)) == "AR.LST"; }

bool IsLog(const std::string& path) {
  const std::string name = Upper(BaseName(path));
  return (name.starts_with("MES_") || name.starts_with("MES#")) && name.ends_with(".LOG");
}

// NAME.LOG -> the folder-relative prefix "NAME." its backups start with.
std::string BackupPrefix(const std::string& logPath) { return logPath.substr(0, logPath.size() - 3); }

bool IsBackupOf(const std::string& path, const std::string& logPath) {
  const std::string prefix = BackupPrefix(logPath);
  if (!path.starts_with(prefix) || path.size() < prefix.size() + 2) return false;
  const std::string ext = Upper(path.substr(prefix.size()));
  if (ext == "BAK") return true;
  return ext[0] == 'B' && ext.size() >= 3 &&
         std::all_of(ext.begin() + 1, ext.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t lf = text.find('\n', at);
    std::size_t end = lf == std::string::npos ? text.size() : lf + 1;
    lines.push_back(text.substr(at, end - at));
    at = end;
  }
  return lines;
}

// after = before + some of the lines done appended to before, in order.
bool GrewByPartOf(const std::string& path, const std::string& before, const std::string& done,
                  const std::string& after) {
  const std::string b = WithoutTimeStamps(path, before);
  const std::string d = WithoutTimeStamps(path, done);
  const std::string a = WithoutTimeStamps(path, after);
  if (!a.starts_with(b) || !d.starts_with(b)) return false;
  const std::vector<std::string> added = CrLfLines(a.substr(b.size()));
  const std::vector<std::string> offered = CrLfLines(d.substr(b.size()));
  std::size_t at = 0;
  for (const std::string& line : added) {
    while (at < offered.size() && offered[at] != line) ++at;
    if (at == offered.size()) return false;
    ++at;
  }
  return true;
}

// after = before + whole lines, each an "M <old log> ..." line naming a file
// that is there, or a line of the history's block frame. An earlier failure
// can hand a room's letter to another room, so the names need not be the
// ones a successful run gives; that they name what is there is what counts.
bool GrewByLinesNamingFiles(const std::string& path, const std::string& before, const std::string& after,
                            const Snapshot& afterFiles) {
  const std::string b = WithoutTimeStamps(path, before);
  const std::string a = WithoutTimeStamps(path, after);
  if (!a.starts_with(b)) return false;
  const std::string folder = path.find('/') == std::string::npos ? "" : path.substr(0, path.rfind('/') + 1);
  for (const std::string& line : CrLfLines(a.substr(b.size()))) {
    if (!line.ends_with("\r\n")) return false;
    if (line == "\r\n" || line == "=stamp=\r\n") continue;
    if (!line.starts_with("M ")) return false;
    const std::size_t end = line.find(' ', 2);
    if (end == std::string::npos || !afterFiles.count(folder + line.substr(2, end - 2))) return false;
  }
  return true;
}

}  // namespace

Snapshot TakeSnapshot(const std::string& folder) {
  Snapshot snap;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    const std::string full = it->path().string();
    snap[full.substr(folder.size() + 1)] = ReadWhole(full);
  }
  return snap;
}

std::string WithoutTimeStamps(const std::string& path, const std::string& bytes) {
  if (!IsHistory(path)) return bytes;
  std::string out;
  for (const std::string& line : CrLfLines(bytes)) out += line.starts_with("=") ? "=stamp=\r\n" : line;
  return out;
}

bool SameContent(const Snapshot& a, const Snapshot& b) {
  if (a.size() != b.size()) return false;
  for (const auto& [path, bytes] : a) {
    auto it = b.find(path);
    if (it == b.end() || WithoutTimeStamps(path, bytes) != WithoutTimeStamps(path, it->second)) return false;
  }
  return true;
}

std::vector<std::string> NothingLost(const Snapshot& before, const std::vector<Snapshot>& done, const Snapshot& after,
                                     bool killed) {
  std::vector<std::string> breaches;
  for (const auto& [path, bytes] : before) {
    if (!IsLog(path)) continue;
    bool kept = false;
    for (const auto& [other, content] : after) {
      if ((other == path || IsBackupOf(other, path)) && content == bytes) kept = true;
    }
    if (!kept) breaches.push_back(path + ": the log's content is under neither its name nor a backup's");
  }
  for (const auto& [path, bytes] : before) {
    // A log may be gone from its name while its backup holds it (checked above).
    if (after.count(path) || IsLog(path)) continue;
    const bool goneWhenDone = std::any_of(done.begin(), done.end(), [&](const Snapshot& d) { return !d.count(path); });
    if (!goneWhenDone) breaches.push_back(path + ": gone");
  }
  for (const auto& [path, bytes] : after) {
    const std::string content = WithoutTimeStamps(path, bytes);
    auto was = before.find(path);
    if (was != before.end() && was->second == bytes) continue;
    if (killed) {
      // A run stopped dead leaves its outputs half-written; they are its own
      // new files (a log's new file among them, its original being safe in
      // the backup, checked above). What was the user's before must be whole.
      if (was == before.end() || IsLog(path)) continue;
      if (IsAppended(path) && WithoutTimeStamps(path, bytes).starts_with(WithoutTimeStamps(path, was->second))) {
        continue;
      }
    }
    bool allowed = false;
    for (const Snapshot& d : done) {
      auto same = d.find(path);
      if (same != d.end() && WithoutTimeStamps(path, same->second) == content) allowed = true;
      if (!allowed && same != d.end() && was != before.end() && IsAppended(path)) {
        allowed = GrewByPartOf(path, was->second, same->second, bytes);
      }
      if (!allowed && IsAppended(path) && was == before.end() && same != d.end()) {
        allowed = GrewByPartOf(path, std::string(), same->second, bytes);
      }
      if (!allowed && was == before.end()) {
        for (const auto& [other, otherBytes] : d) {
          if (WithoutTimeStamps(other, otherBytes) == content) allowed = true;
        }
      }
      if (allowed) break;
    }
    if (!allowed && IsAppended(path)) {
      allowed = GrewByLinesNamingFiles(path, was == before.end() ? std::string() : was->second, bytes, after);
    }
    if (!allowed) {
      breaches.push_back(path + (was == before.end() ? ": new file that no successful run makes"
                                                     : ": changed to what no successful run makes"));
    }
  }
  return breaches;
}

}  // namespace robust
