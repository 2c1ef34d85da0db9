#include "platform/file_ops.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fault_injection.h"

namespace plat {

using detail::Fail;

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

bool GetFileStatus(const std::string& path, FileStatus* status, int* err) {
  if (int e = detail::InjectedError(FileOp::Status, path.c_str())) return Fail(err, e);
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return Fail(err, errno);
  status->mtime = st.st_mtim.tv_sec;
  status->size = st.st_size;
  status->isDirectory = S_ISDIR(st.st_mode);
  return true;
}

bool GetFileIdentity(const std::string& path, FileIdentity* identity, int* err) {
  if (int e = detail::InjectedError(FileOp::Status, path.c_str())) return Fail(err, e);
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return Fail(err, errno);
  identity->device = static_cast<std::uint64_t>(st.st_dev);
  identity->inode = static_cast<std::uint64_t>(st.st_ino);
  identity->size = st.st_size;
  identity->mtime = st.st_mtim.tv_sec;
  return true;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RenameNoReplace(const std::string& src, const std::string& dst, int* err) {
  if (int e = detail::InjectedError(FileOp::Rename, src.c_str())) return Fail(err, e);
  if (::renameat2(AT_FDCWD, src.c_str(), AT_FDCWD, dst.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return Fail(err, errno);
  // File systems without the flag: a hard link fails when dst exists.
  if (::link(src.c_str(), dst.c_str()) != 0) return Fail(err, errno);
  if (::unlink(src.c_str()) != 0) {
    int e = errno;
    ::unlink(dst.c_str());
    return Fail(err, e);
  }
  return true;
}

bool ReplaceFile(const std::string& src, const std::string& dst, int* err) {
  if (int e = detail::InjectedError(FileOp::Rename, src.c_str())) return Fail(err, e);
  if (::rename(src.c_str(), dst.c_str()) != 0) return Fail(err, errno);
  return true;
}

bool DeleteFile(const std::string& path, int* err) {
  if (int e = detail::InjectedError(FileOp::Delete, path.c_str())) return Fail(err, e);
  if (::unlink(path.c_str()) != 0) return Fail(err, errno);
  return true;
}

bool LinkNoReplace(const std::string& src, const std::string& dst, int* err) {
  if (int e = detail::InjectedError(FileOp::Link, src.c_str())) return Fail(err, e);
  if (::link(src.c_str(), dst.c_str()) != 0) return Fail(err, errno);
  return true;
}

bool SyncFolder(const std::string& folder, int* err) {
  if (int e = detail::InjectedError(FileOp::Sync, folder.c_str())) return Fail(err, e);
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Fail(err, errno);
  int rc = ::fsync(fd);
  int e = errno;
  ::close(fd);
  // Some file systems can't sync a folder (EINVAL): their names are as
  // durable as they get.
  if (rc != 0 && e != EINVAL) return Fail(err, e);
  return true;
}

bool TruncateFile(const std::string& path, std::int64_t size, int* err) {
  if (int e = detail::InjectedError(FileOp::Write, path.c_str())) return Fail(err, e);
  if (::truncate(path.c_str(), static_cast<off_t>(size)) != 0) return Fail(err, errno);
  return true;
}

bool ReadFileBytes(const std::string& path, std::int64_t offset, std::size_t length, std::string* bytes, int* err) {
  bytes->clear();
  if (int e = detail::InjectedError(FileOp::Read, path.c_str())) return Fail(err, e);
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return Fail(err, errno);
  bytes->resize(length);
  std::size_t got = 0;
  while (got < length) {
    ssize_t n = ::pread(fd, bytes->data() + got, length - got, static_cast<off_t>(offset) + static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int e = errno;
      ::close(fd);
      return Fail(err, e);
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes->resize(got);
  return true;
}

bool MakeFolder(const std::string& path, int* err) {
  if (::mkdir(path.c_str(), 0777) != 0) return Fail(err, errno);
  return true;
}

bool RemoveFolder(const std::string& path, int* err) {
  if (::rmdir(path.c_str()) != 0) return Fail(err, errno);
  return true;
}

bool SetFileTime(const std::string& path, std::time_t mtime, int* err) {
  struct timespec times[2];
  times[0].tv_sec = mtime;
  times[0].tv_nsec = 0;
  times[1] = times[0];
  if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) return Fail(err, errno);
  return true;
}

}  // namespace plat
