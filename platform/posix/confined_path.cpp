#include "platform/confined_path.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_error.h"

namespace plat {

namespace {

constexpr int kMaxLinkHops = 40;  // as many as the kernel follows before ELOOP

std::string Joined(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

}  // namespace

std::string RealFolder(const std::string& folder) {
  char* real = ::realpath(folder.c_str(), nullptr);
  if (!real) return std::string();
  std::string out(real);
  std::free(real);
  return out;
}

bool LiesWithin(const std::string& realRoot, const std::string& realPath) {
  if (realRoot.empty() || realPath.empty()) return false;
  if (realRoot == "/") return true;
  return realPath.compare(0, realRoot.size(), realRoot) == 0 &&
         (realPath.size() == realRoot.size() || realPath[realRoot.size()] == '/');
}

bool IsConfinedFile(const std::string& root, const std::string& path, int* err) {
  int dummy = 0;
  int& error = err ? *err : dummy;
  const std::string realRoot = RealFolder(root);
  if (realRoot.empty()) {
    error = errno;
    return false;
  }
  std::string current = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    const std::size_t slash = current.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : current.substr(0, slash);
    const std::string leaf = slash == std::string::npos ? current : current.substr(slash + 1);
    if (leaf.empty() || leaf == "." || leaf == "..") {
      // A folder, wherever it is: say first whether it lies outside.
      error = LiesWithin(realRoot, RealFolder(current)) ? EISDIR : kErrOutsideFolder;
      return false;
    }
    const std::string realFolder = RealFolder(folder);
    if (realFolder.empty()) {
      // A link into a folder that isn't there: where it points says enough.
      const int lookError = errno;
      std::error_code ec;
      const std::string spelt = std::filesystem::absolute(folder, ec).lexically_normal().string();
      error = LiesWithin(realRoot, spelt) ? lookError : kErrOutsideFolder;
      return false;
    }
    const std::string full = Joined(realFolder, leaf);
    if (!LiesWithin(realRoot, full)) {
      error = kErrOutsideFolder;
      return false;
    }
    struct stat st;
    if (::lstat(full.c_str(), &st) != 0) {
      if (errno == ENOENT) return true;  // it would be made here, inside
      error = errno;
      return false;
    }
    if (S_ISREG(st.st_mode)) return true;
    if (S_ISDIR(st.st_mode)) {
      error = EISDIR;
      return false;
    }
    if (!S_ISLNK(st.st_mode)) {
      error = kErrNotRegularFile;
      return false;
    }
    char target[PATH_MAX];
    const ssize_t n = ::readlink(full.c_str(), target, sizeof target - 1);
    if (n < 0) {
      error = errno;
      return false;
    }
    target[n] = '\0';
    current = target[0] == '/' ? std::string(target) : Joined(realFolder, target);
  }
  error = ELOOP;
  return false;
}

}  // namespace plat
