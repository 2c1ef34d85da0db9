#include "platform/locked_file.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>

#include "platform/fault_injection.h"
#include "platform/native_file.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace plat {

using detail::Fail;

namespace {

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

// The whole file, and any length it may grow to, locked for this process
// alone; the system lets go when the handle is closed, also when the
// process dies.
bool Lock(HANDLE h) {
  OVERLAPPED from{};
  return ::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &from) != 0;
}

// The locked handle as the descriptor the file is kept under; -1 (the handle
// closed) when the C runtime has no descriptor left for it.
int DescriptorOf(HANDLE h) {
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDWR | _O_APPEND | _O_BINARY);
  if (fd < 0) ::CloseHandle(h);
  return fd;
}

}  // namespace

LockedFile::~LockedFile() { Close(); }

void LockedFile::Close() {
  if (fd_ >= 0) ::_close(fd_);
  fd_ = -1;
}

bool LockedFile::Create(const std::string& path, int* err) {
  Close();
  path_ = path;
  if (int e = detail::InjectedError(FileOp::Open, path.c_str())) return Fail(err, e);
  HANDLE h = ::CreateFileW(win32::SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, win32::kShareAll, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail(err, win32::LastErrno());
  // Nobody else knows the new name yet, so the lock is free.
  Lock(h);
  fd_ = DescriptorOf(h);
  return fd_ >= 0 || Fail(err, EMFILE);
}

bool LockedFile::OpenExisting(const std::string& path, bool* busy, int* err) {
  Close();
  path_ = path;
  *busy = false;
  if (int e = detail::InjectedError(FileOp::Open, path.c_str())) return Fail(err, e);
  const std::wstring wide = win32::SystemPath(path);
  // A link in the journal's place is not followed: the journal is a file of
  // the folder's own.
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return Fail(err, ELOOP);
  HANDLE h = ::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, win32::kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail(err, win32::LastErrno());
  if (::GetFileType(h) != FILE_TYPE_DISK) {
    ::CloseHandle(h);
    return Fail(err, EACCES);
  }
  if (!Lock(h)) {
    const DWORD error = ::GetLastError();
    ::CloseHandle(h);
    *busy = error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING;
    return Fail(err, *busy ? EWOULDBLOCK : win32::ErrnoFrom(error));
  }
  fd_ = DescriptorOf(h);
  return fd_ >= 0 || Fail(err, EMFILE);
}

bool LockedFile::Append(std::string_view bytes, int* err) {
  if (fd_ < 0) return Fail(err, EBADF);
  HANDLE h = HandleOf(fd_);
  while (!bytes.empty()) {
    if (int e = detail::InjectedError(FileOp::Write, path_.c_str())) return Fail(err, e);
    // At the end of the file, wherever that is now.
    LARGE_INTEGER zero{};
    if (!::SetFilePointerEx(h, zero, nullptr, FILE_END)) return Fail(err, win32::LastErrno());
    const DWORD want = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
    DWORD n = 0;
    if (!::WriteFile(h, bytes.data(), want, &n, nullptr)) return Fail(err, win32::LastErrno());
    if (n == 0) return Fail(err, ENOSPC);
    bytes.remove_prefix(n);
  }
  return true;
}

bool LockedFile::Sync(int* err) {
  if (fd_ < 0) return Fail(err, EBADF);
  if (int e = detail::InjectedError(FileOp::Sync, path_.c_str())) return Fail(err, e);
  if (int e = detail::SyncFile(fd_)) return Fail(err, e);
  return true;
}

bool LockedFile::ReadAll(std::string* bytes, int* err) {
  bytes->clear();
  if (fd_ < 0) return Fail(err, EBADF);
  if (int e = detail::InjectedError(FileOp::Read, path_.c_str())) return Fail(err, e);
  char buf[4096];
  std::int64_t at = 0;
  for (;;) {
    const std::int64_t n = detail::ReadAt(fd_, buf, sizeof buf, at);
    if (n < 0) return Fail(err, errno);
    if (n == 0) return true;
    bytes->append(buf, static_cast<std::size_t>(n));
    at += n;
  }
}

}  // namespace plat
