#include "platform/locked_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/fault_injection.h"

namespace plat {

using detail::Fail;

LockedFile::~LockedFile() { Close(); }

void LockedFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool LockedFile::Create(const std::string& path, int* err) {
  Close();
  path_ = path;
  if (int e = detail::InjectedError(FileOp::Open, path.c_str())) return Fail(err, e);
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return Fail(err, errno);
  // Nobody else knows the new name yet, so the lock is free.
  ::flock(fd, LOCK_EX | LOCK_NB);
  fd_ = fd;
  return true;
}

bool LockedFile::OpenExisting(const std::string& path, bool* busy, int* err) {
  Close();
  path_ = path;
  *busy = false;
  if (int e = detail::InjectedError(FileOp::Open, path.c_str())) return Fail(err, e);
  int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return Fail(err, errno);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int e = errno;
    ::close(fd);
    *busy = e == EWOULDBLOCK;
    return Fail(err, e);
  }
  fd_ = fd;
  return true;
}

bool LockedFile::Append(std::string_view bytes, int* err) {
  if (fd_ < 0) return Fail(err, EBADF);
  while (!bytes.empty()) {
    if (int e = detail::InjectedError(FileOp::Write, path_.c_str())) return Fail(err, e);
    ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail(err, errno);
    }
    if (n == 0) return Fail(err, ENOSPC);
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool LockedFile::Sync(int* err) {
  if (fd_ < 0) return Fail(err, EBADF);
  if (int e = detail::InjectedError(FileOp::Sync, path_.c_str())) return Fail(err, e);
  if (::fsync(fd_) != 0) return Fail(err, errno);
  return true;
}

bool LockedFile::ReadAll(std::string* bytes, int* err) {
  bytes->clear();
  if (fd_ < 0) return Fail(err, EBADF);
  if (int e = detail::InjectedError(FileOp::Read, path_.c_str())) return Fail(err, e);
  char buf[4096];
  off_t at = 0;
  for (;;) {
    ssize_t n = ::pread(fd_, buf, sizeof buf, at);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail(err, errno);
    }
    if (n == 0) return true;
    bytes->append(buf, static_cast<std::size_t>(n));
    at += n;
  }
}

}  // namespace plat
