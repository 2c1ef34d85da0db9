#include "platform/forum_lock.h"

#include <cerrno>

#include "platform/fault_injection.h"
#include "platform/file_error.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace plat {

using detail::Fail;

namespace {

HANDLE HandleOf(std::intptr_t native) { return reinterpret_cast<HANDLE>(native); }

bool WriteAll(HANDLE h, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD n = 0;
    if (!::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) || n == 0) return false;
    bytes.remove_prefix(n);
  }
  return true;
}

}  // namespace

ForumLock::~ForumLock() { Release(); }

bool ForumLock::TryOnce(std::string_view program, bool* busy, int* err) {
  *busy = false;
  if (int e = detail::InjectedError(FileOp::Open, path_.c_str())) return Fail(err, e);
  const std::wstring wide = win32::SystemPath(path_);
  // A link in the lock's place is not followed: the lock is a file of the
  // folder's own.
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return Fail(err, ELOOP);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return Fail(err, EISDIR);
  // Shared for reading only, so a waiter can read who holds it and no one
  // can open it to write; the system deletes it when the handle closes, also
  // when the process dies.
  HANDLE h = ::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    // Open elsewhere, or deleted by a holder that let go while a waiter still
    // had it open to read: either way another program's, for now.
    *busy = error == ERROR_SHARING_VIOLATION || (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES);
    return Fail(err, *busy ? EWOULDBLOCK : win32::ErrnoFrom(error));
  }
  int e = detail::InjectedError(FileOp::Status, path_.c_str());
  if (e == 0 && ::GetFileType(h) != FILE_TYPE_DISK) e = kErrNotRegularFile;
  if (e != 0) {
    ::CloseHandle(h);
    return Fail(err, e);
  }
  // The holder's name is only for a waiter to tell the user: a file that
  // can't take it still holds the lock, and the waiter names no one.
  LARGE_INTEGER zero{};
  if (!::SetFilePointerEx(h, zero, nullptr, FILE_BEGIN) || !::SetEndOfFile(h) ||
      !WriteAll(h, detail::ForumLockText(program, static_cast<long>(::GetCurrentProcessId())))) {
    ::SetFilePointerEx(h, zero, nullptr, FILE_BEGIN);
    ::SetEndOfFile(h);
  }
  native_ = reinterpret_cast<std::intptr_t>(h);
  return true;
}

void ForumLock::Release() {
  if (native_ == -1) return;
  // Closing the only handle deletes the file.
  ::CloseHandle(HandleOf(native_));
  native_ = -1;
}

namespace detail {

std::string ReadForumLockFile(const std::string& path) {
  const std::wstring wide = win32::SystemPath(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))) {
    return {};
  }
  HANDLE h = ::CreateFileW(wide.c_str(), GENERIC_READ, win32::kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string text;
  if (::GetFileType(h) == FILE_TYPE_DISK) {
    char buf[256];
    DWORD n = 0;
    if (::ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) text.assign(buf, n);
  }
  ::CloseHandle(h);
  return text;
}

}  // namespace detail

}  // namespace plat
