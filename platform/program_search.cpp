#include "platform/program_search.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/file_ops.h"

namespace plat {

namespace {

#ifdef _WIN32
constexpr char kListSeparator = ';';
#else
constexpr char kListSeparator = ':';
#endif

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

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
  std::vector<char> buf(4096);
  if (::getcwd(buf.data(), buf.size()) == nullptr) return ".";
  return buf.data();
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
  std::vector<char> buf(4096);
  ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return {};
  std::string exe(buf.data(), static_cast<std::size_t>(n));
  std::size_t slash = exe.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : exe.substr(0, slash);
}

std::optional<std::string> FindProgramIn(const std::string& fileName, const ProgramSearchPath& where) {
  if (fileName.empty()) return std::nullopt;
  if (fileName.find('/') != std::string::npos) {
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
  const char* path = std::getenv("PATH");
  if (path) where.searchPath = path;
  return FindProgramIn(ExecutableName(program), where);
}

}  // namespace plat
