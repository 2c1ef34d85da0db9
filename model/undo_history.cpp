#include "model/undo_history.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "model/directory.h"
#include "platform/confined_path.h"
#include "platform/file_ops.h"
#include "platform/local_time.h"
#include "platform/name_in_line.h"
#include "platform/text_writer.h"

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string LastPathComponent(const std::string& path) {
  std::size_t end = path.size();
  while (end > 0 && IsSeparator(path[end - 1])) --end;
  std::size_t begin = end;
  while (begin > 0 && !IsSeparator(path[begin - 1])) --begin;
  return path.substr(begin, end - begin);
}

// Puts the file back as it was before a failed append: cut back to its old
// length, or gone again when the append created it.
void TakeBackAppend(const std::string& file, bool existed, std::int64_t oldSize) {
  std::error_code ec;
  if (existed) {
    std::filesystem::resize_file(file, static_cast<std::uintmax_t>(oldSize), ec);
  } else {
    plat::DeleteFile(file);
  }
}

bool AppendBlock(const std::string& file, const std::string& block) {
  plat::FileStatus before;
  int statusError = 0;
  bool existed = plat::GetFileStatus(file, &before, &statusError);
  // A failed append is taken back by the file's old length, or by deleting
  // the file when it was new: without knowing which, the user's history
  // could be deleted, so nothing is written.
  if (!existed && statusError != ENOENT) return false;
  plat::TextWriter out;
  if (!out.Open(file, plat::TextWriter::Mode::Append)) return false;
  bool written = out.Write(block);
  bool closed = out.Close();
  if (written && closed) return true;
  TakeBackAppend(file, existed, existed ? before.size : 0);
  return false;
}

}  // namespace

std::string UndoHistoryPath(const CDirectory& dir) {
  // A forum folder's name is one component of its path; only the shared log
  // folder is named by its whole path. A "\\" in a folder's own name is just
  // a character of it here.
  bool nameIsPath = dir.name == dir.path || dir.name.find('/') != std::string::npos;
  std::string base = nameIsPath ? LastPathComponent(dir.path) : dir.name;
  return plat::JoinPath(dir.path, base + ".KIV");
}

std::string FormatUndoHistoryBlock(const CFileEntry& entry, const std::string& localTime) {
  std::string block = "\n==================== " + localTime + " ====================\n";
  for (const CUndo& undo : entry.undoList) {
    block += "M " + plat::NameForLine(undo.oldLogName) + " " + undo.headerLine + "\n";
  }
  return block;
}

bool AppendUndoHistory(const CDirectory& dir) {
  const std::string file = UndoHistoryPath(dir);
  if (!plat::IsConfinedFile(dir.path, file)) return false;  // a link out of the folder, or to no regular file: not written through
  bool allWritten = true;
  for (const auto& entry : dir.entries) {
    if (!entry || entry->undoList.empty()) continue;
    std::string stamp = plat::FormatLocalTime(dir.clock().Now(), "%Y/%m/%d %H:%M");
    if (!AppendBlock(file, FormatUndoHistoryBlock(*entry, stamp))) allWritten = false;
  }
  return allWritten;
}
