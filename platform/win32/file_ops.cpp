#include "platform/file_ops.h"

#include <cerrno>
#include "platform/win32/windows_api.h"

#include "platform/fault_injection.h"
#include "platform/win32/wide.h"

namespace plat {

using detail::Fail;

namespace {

// A handle on whatever path names, links followed, for looking at it (a
// folder too: backup semantics). Invalid with the error in *err.
HANDLE OpenToLook(const std::string& path, int* err, DWORD access = FILE_READ_ATTRIBUTES) {
  HANDLE h = ::CreateFileW(win32::SystemPath(path).c_str(), access, win32::kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE && err) *err = win32::LastErrno();
  return h;
}

bool LookAt(const std::string& path, FileIdentity* identity, bool* isDirectory, int* err) {
  int e = 0;
  HANDLE h = OpenToLook(path, &e);
  if (h == INVALID_HANDLE_VALUE) return Fail(err, e);
  e = win32::IdentityOf(h, identity, isDirectory);
  ::CloseHandle(h);
  return e == 0 || Fail(err, e);
}

// Whether src and dst are one and the same name: a rename onto itself is
// refused as any rename onto an existing name is. Names differing in case
// only are two spellings, and the rename gives the file the new one.
bool SameSpelling(const std::string& src, const std::string& dst) {
  return win32::SystemPath(src) == win32::SystemPath(dst);
}

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/' || folder.back() == '\\') return folder + name;
  return folder + "/" + name;
}

bool GetFileStatus(const std::string& path, FileStatus* status, int* err) {
  if (int e = detail::InjectedError(FileOp::Status, path.c_str())) return Fail(err, e);
  FileIdentity identity;
  bool isDirectory = false;
  if (!LookAt(path, &identity, &isDirectory, err)) return false;
  status->mtime = identity.mtime;
  status->size = isDirectory ? 0 : identity.size;
  status->isDirectory = isDirectory;
  return true;
}

bool GetFileIdentity(const std::string& path, FileIdentity* identity, int* err) {
  if (int e = detail::InjectedError(FileOp::Status, path.c_str())) return Fail(err, e);
  return LookAt(path, identity, nullptr, err);
}

bool FileExists(const std::string& path) {
  // The name itself, a link not followed.
  return ::GetFileAttributesW(win32::SystemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::string& path) {
  FileIdentity identity;
  bool isDirectory = false;
  return LookAt(path, &identity, &isDirectory, nullptr) && isDirectory;
}

bool RenameNoReplace(const std::string& src, const std::string& dst, int* err) {
  if (int e = detail::InjectedError(FileOp::Rename, src.c_str())) return Fail(err, e);
  if (SameSpelling(src, dst)) {
    const bool exists = FileExists(src);
    return Fail(err, exists ? EEXIST : ENOENT);
  }
  // Without MOVEFILE_REPLACE_EXISTING the system refuses an existing target;
  // write-through: the new name is on disk when this returns.
  if (!::MoveFileExW(win32::SystemPath(src).c_str(), win32::SystemPath(dst).c_str(), MOVEFILE_WRITE_THROUGH)) {
    return Fail(err, win32::LastErrno());
  }
  return true;
}

bool ReplaceFile(const std::string& src, const std::string& dst, int* err) {
  if (int e = detail::InjectedError(FileOp::Rename, src.c_str())) return Fail(err, e);
  if (!::MoveFileExW(win32::SystemPath(src).c_str(), win32::SystemPath(dst).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Fail(err, win32::LastErrno());
  }
  return true;
}

bool DeleteFile(const std::string& path, int* err) {
  if (int e = detail::InjectedError(FileOp::Delete, path.c_str())) return Fail(err, e);
  const std::wstring wide = win32::SystemPath(path);
  if (!::DeleteFileW(wide.c_str())) {
    const int e = win32::LastErrno();
    // A folder: the report says so, as unlink's EISDIR does.
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (e == EACCES && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return Fail(err, EISDIR);
    }
    return Fail(err, e);
  }
  return true;
}

bool LinkNoReplace(const std::string& src, const std::string& dst, int* err) {
  if (int e = detail::InjectedError(FileOp::Link, src.c_str())) return Fail(err, e);
  if (!::CreateHardLinkW(win32::SystemPath(dst).c_str(), win32::SystemPath(src).c_str(), nullptr)) {
    return Fail(err, win32::LastErrno());
  }
  return true;
}

bool SyncFolder(const std::string& folder, int* err) {
  if (int e = detail::InjectedError(FileOp::Sync, folder.c_str())) return Fail(err, e);
  // The renames were written through and NTFS journals its names; flushing
  // the folder is asked for all the same where the system allows it (it
  // needs write access to the folder, which a user often lacks: no failure).
  int e = 0;
  HANDLE h = OpenToLook(folder, &e, GENERIC_READ | GENERIC_WRITE);
  if (h == INVALID_HANDLE_VALUE) {
    h = OpenToLook(folder, &e);
    if (h == INVALID_HANDLE_VALUE) return Fail(err, e);
  }
  ::FlushFileBuffers(h);
  ::CloseHandle(h);
  return true;
}

bool TruncateFile(const std::string& path, std::int64_t size, int* err) {
  if (int e = detail::InjectedError(FileOp::Write, path.c_str())) return Fail(err, e);
  HANDLE h = ::CreateFileW(win32::SystemPath(path).c_str(), GENERIC_WRITE, win32::kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail(err, win32::LastErrno());
  LARGE_INTEGER at;
  at.QuadPart = size;
  int e = 0;
  if (!::SetFilePointerEx(h, at, nullptr, FILE_BEGIN) || !::SetEndOfFile(h) || !::FlushFileBuffers(h)) {
    e = win32::LastErrno();
  }
  ::CloseHandle(h);
  return e == 0 || Fail(err, e);
}

bool ReadFileBytes(const std::string& path, std::int64_t offset, std::size_t length, std::string* bytes, int* err) {
  bytes->clear();
  if (int e = detail::InjectedError(FileOp::Read, path.c_str())) return Fail(err, e);
  HANDLE h = ::CreateFileW(win32::SystemPath(path).c_str(), GENERIC_READ, win32::kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail(err, win32::LastErrno());
  bytes->resize(length);
  std::size_t got = 0;
  int e = 0;
  while (got < length) {
    const std::uint64_t at = static_cast<std::uint64_t>(offset) + got;
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(at);
    where.OffsetHigh = static_cast<DWORD>(at >> 32);
    const std::size_t want = length - got > 0x40000000 ? 0x40000000 : length - got;
    DWORD n = 0;
    if (!::ReadFile(h, bytes->data() + got, static_cast<DWORD>(want), &n, &where)) {
      if (::GetLastError() != ERROR_HANDLE_EOF) e = win32::LastErrno();
      break;
    }
    if (n == 0) break;
    got += n;
  }
  ::CloseHandle(h);
  if (e != 0) {
    bytes->clear();
    return Fail(err, e);
  }
  bytes->resize(got);
  return true;
}

bool MakeFolder(const std::string& path, int* err) {
  if (!::CreateDirectoryW(win32::SystemPath(path).c_str(), nullptr)) return Fail(err, win32::LastErrno());
  return true;
}

bool RemoveFolder(const std::string& path, int* err) {
  if (!::RemoveDirectoryW(win32::SystemPath(path).c_str())) return Fail(err, win32::LastErrno());
  return true;
}

bool SetFileTime(const std::string& path, std::time_t mtime, int* err) {
  int e = 0;
  HANDLE h = OpenToLook(path, &e, FILE_WRITE_ATTRIBUTES);
  if (h == INVALID_HANDLE_VALUE) return Fail(err, e);
  const std::uint64_t t = win32::FileTimeFromTime(mtime);
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(t);
  ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
  const BOOL ok = ::SetFileTime(h, nullptr, &ft, &ft);
  if (!ok) e = win32::LastErrno();
  ::CloseHandle(h);
  return ok || Fail(err, e);
}

}  // namespace plat
