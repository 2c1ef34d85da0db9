#include "platform/native_file.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_error.h"

namespace plat::detail {

namespace {
// Once a file is known to be regular, its reads and writes may wait again.
int Blocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return errno;
  return 0;
}

// Looks at what was opened: a regular file is kept (and may block again),
// anything else is closed and refused; a folder with folderError. Returns 0
// when kept, the reason otherwise.
int KeepIfRegular(int opened, struct stat* st, int folderError) {
  int refused = 0;
  if (::fstat(opened, st) != 0) {
    refused = errno;
  } else if (S_ISDIR(st->st_mode)) {
    refused = folderError;
  } else if (!S_ISREG(st->st_mode)) {
    refused = kErrNotRegularFile;
  } else {
    refused = Blocking(opened);
  }
  if (refused != 0) ::close(opened);
  return refused;
}
}  // namespace

int OpenFileForReading(const std::string& path, int* fd, FileIdentity* identity) {
  // Without O_NONBLOCK a FIFO would wait here for a writer that never
  // comes; what is opened is looked at before a byte is read.
  const int opened = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (opened < 0) return errno;
  // A folder opens for reading here but is no file to read: refuse it now,
  // as the host's platform does, rather than fail at the first read. A FIFO
  // or a device would never end (or never begin): only regular files are logs.
  struct stat st;
  if (int refused = KeepIfRegular(opened, &st, EISDIR)) return refused;
  *fd = opened;
  *identity = FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino), st.st_size,
                           st.st_mtim.tv_sec};
  return 0;
}

int OpenFileForWriting(const std::string& path, WriteOpen mode, int* fd) {
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
  switch (mode) {
    case WriteOpen::CreateNew: flags |= O_EXCL; break;
    case WriteOpen::Append: flags |= O_APPEND; break;
    case WriteOpen::Truncate: flags |= O_TRUNC; break;
  }
  // O_NONBLOCK: a FIFO in the file's place must not hold the program until
  // something reads it. Only a regular file is written.
  const int opened = ::open(path.c_str(), flags | O_NONBLOCK, 0666);
  if (opened < 0) return errno == ENXIO ? kErrNotRegularFile : errno;  // ENXIO: a FIFO nobody reads
  struct stat st;
  if (int refused = KeepIfRegular(opened, &st, kErrNotRegularFile)) return refused;
  *fd = opened;
  return 0;
}

std::int64_t ReadAt(int fd, void* buffer, std::size_t n, std::int64_t offset) {
  return ::pread(fd, buffer, n, static_cast<off_t>(offset));
}

int SyncFile(int fd) { return ::fsync(fd) == 0 ? 0 : errno; }

int ListFolder(const std::string& folder, const std::string& pattern, std::vector<FoundItem>* items) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return errno;
  int dfd = ::dirfd(dir);
  for (;;) {
    errno = 0;
    struct dirent* ent = ::readdir(dir);
    if (!ent) break;
    std::string name = ent->d_name;
    if (name == "." || name == "..") continue;
    if (!MatchesPattern(pattern, name)) continue;
    FoundItem item;
    item.name = std::move(name);
    struct stat st;
    if (::fstatat(dfd, ent->d_name, &st, 0) == 0) {
      item.isDirectory = S_ISDIR(st.st_mode);
      item.size = st.st_size;
      item.mtime = st.st_mtim.tv_sec;
    } else {
      item.isDirectory = ent->d_type == DT_DIR;
    }
    items->push_back(std::move(item));
  }
  int readErr = errno;
  ::closedir(dir);
  return readErr;
}

}  // namespace plat::detail

namespace plat::detail {

std::string RunningProgramPath() {
  std::vector<char> buf(4096);
  const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return {};
  return std::string(buf.data(), static_cast<std::size_t>(n));
}

std::string CurrentFolderPath() {
  std::vector<char> buf(4096);
  if (::getcwd(buf.data(), buf.size()) == nullptr) return {};
  return buf.data();
}

}  // namespace plat::detail
