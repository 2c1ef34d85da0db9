#include "platform/program_search.h"

#include <cstdlib>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/console.h"
#include "platform/file_ops.h"
#include "platform/native_file.h"

namespace plat {

namespace {

#ifdef _WIN32
constexpr char kListSeparator = ';';
constexpr const char* kPathSeparators = "/\\";
#else
constexpr char kListSeparator = ':';
constexpr const char* kPathSeparators = "/";
#endif

#ifdef _WIN32
// Windows knows no execute permission: a file with the name is the program.
bool IsExecutableFile(const std::string& path) {
  FileStatus status;
  return GetFileStatus(path, &status) && !status.isDirectory;
}
bool HoldsSeparator(const std::string& name) { return name.find_first_of("/\\:") != std::string::npos; }
#else
bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}
bool HoldsSeparator(const std::string& name) { return name.find('/') != std::string::npos; }
#endif

std::vector<std::string> SplitList(const std::string& list, const std::string& currentFolder) {
  std::vector<std::string> folders;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = list.find(kListSeparator, start);
    std::string entry = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
    folders.push_back(entry.empty() ? currentFolder : entry);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return folders;
}

std::string CurrentFolder() {
  const std::string folder = detail::CurrentFolderPath();
  return folder.empty() ? "." : folder;
}

}  // namespace

std::string ExecutableName(const std::string& program) {
#ifdef _WIN32
  return program + ".EXE";
#else
  return program;
#endif
}

std::string RunningProgramFolder() {
  const std::string exe = detail::RunningProgramPath();
  const std::size_t slash = exe.find_last_of(kPathSeparators);
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : exe.substr(0, slash);
}

std::optional<std::string> FindProgramIn(const std::string& fileName, const ProgramSearchPath& where) {
  if (fileName.empty()) return std::nullopt;
  if (HoldsSeparator(fileName)) {
    if (IsExecutableFile(fileName)) return fileName;
    return std::nullopt;
  }
  std::vector<std::string> folders = {where.programFolder, where.currentFolder};
  if (!where.searchPath.empty()) {
    for (std::string& f : SplitList(where.searchPath, where.currentFolder)) folders.push_back(std::move(f));
  }
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    std::string candidate = JoinPath(folder, fileName);
    if (IsExecutableFile(candidate)) return candidate;
  }
  return std::nullopt;
}

std::optional<std::string> FindProgram(const std::string& program) {
  ProgramSearchPath where;
  where.programFolder = RunningProgramFolder();
  where.currentFolder = CurrentFolder();
  where.searchPath = EnvironmentValue("PATH");
  return FindProgramIn(ExecutableName(program), where);
}

}  // namespace plat
