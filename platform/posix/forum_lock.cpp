#include "platform/forum_lock.h"

#include <cerrno>
#include <chrono>
#include <thread>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fault_injection.h"
#include "platform/file_error.h"

namespace plat {

using detail::Fail;

namespace {

// A holder that lets go deletes the file while it still holds it. A waiter
// that opened the file before that and locks it after holds a file no
// longer under the name: it lets go and tries the name again. More tries
// than this in one go mean the name keeps changing under it: busy.
constexpr int kTriesOnOneGo = 8;

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

bool WriteAllAt(int fd, std::string_view bytes) {
  off_t at = 0;
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
    at += n;
  }
  return true;
}

// A file this try opened and can't use: deleted when it is the lock file
// under the name, free and empty (made by this very try), so that a failed
// try leaves nothing behind; never a file of any other kind.
void Abandon(int fd, const std::string& path) {
  struct stat held {
  }, named{};
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_size == 0 &&
      ::stat(path.c_str(), &named) == 0 && SameFile(held, named)) {
    ::unlink(path.c_str());
  }
  ::close(fd);
}

// The holder named in the file another process holds locked, read through
// this try's own descriptor: still readable when the holder lets go and
// deletes it meanwhile. A holder that has just taken the lock writes its
// name at once; it is given a few milliseconds to do so.
void ReadHolder(int fd, ForumLockHolder* holder) {
  for (int tries = 0; tries < 10; ++tries) {
    char buf[256];
    const ssize_t n = ::pread(fd, buf, sizeof buf, 0);
    if (n > 0) {
      ForumLockHolder read = detail::ParseForumLockText(std::string_view(buf, static_cast<std::size_t>(n)));
      if (!read.program.empty()) {
        *holder = std::move(read);
        return;
      }
    }
    if (!holder->program.empty()) return;  // named at an earlier try
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace

ForumLock::~ForumLock() { Release(); }

bool ForumLock::TryOnce(std::string_view program, bool* busy, int* err) {
  *busy = false;
  for (int tries = 0; tries < kTriesOnOneGo; ++tries) {
    if (int e = detail::InjectedError(FileOp::Open, path_.c_str())) return Fail(err, e);
    // No link followed, nothing waited on: only a regular file of the
    // folder's own is ever the lock.
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
    if (fd < 0) return Fail(err, errno);
    struct stat opened {};
    int e = detail::InjectedError(FileOp::Status, path_.c_str());
    if (e == 0 && ::fstat(fd, &opened) != 0) e = errno;
    if (e == 0 && !S_ISREG(opened.st_mode)) e = kErrNotRegularFile;
    if (e != 0) {
      Abandon(fd, path_);
      return Fail(err, e);
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      e = errno;
      *busy = e == EWOULDBLOCK;
      if (*busy) ReadHolder(fd, &busyHolder_);
      ::close(fd);
      return Fail(err, e);
    }
    struct stat named {};
    if (::stat(path_.c_str(), &named) != 0 || !SameFile(opened, named)) {
      ::close(fd);
      continue;
    }
    // The holder's name is only for a waiter to tell the user: a file that
    // can't take it still holds the lock, and the waiter names no one.
    if (::ftruncate(fd, 0) != 0 || !WriteAllAt(fd, detail::ForumLockText(program, static_cast<long>(::getpid())))) {
      (void)::ftruncate(fd, 0);
    }
    native_ = fd;
    return true;
  }
  *busy = true;
  return Fail(err, EWOULDBLOCK);
}

void ForumLock::Release() {
  if (native_ == -1) return;
  const int fd = static_cast<int>(native_);
  native_ = -1;
  // Deleted while still held, and only while the name is still this file: a
  // waiter that opened it meanwhile finds it gone from its name and tries
  // the name again. A file that can't be deleted (or that a kill leaves)
  // is taken over by the next holder as it is.
  struct stat held {
  }, named{};
  if (::fstat(fd, &held) == 0 && ::stat(path_.c_str(), &named) == 0 && SameFile(held, named)) {
    ::unlink(path_.c_str());
  }
  ::close(fd);
}

namespace detail {

std::string ReadForumLockFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return {};
  std::string text;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    char buf[256];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) text.assign(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return text;
}

}  // namespace detail

}  // namespace plat
