#include "platform/native_file.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include "platform/win32/windows_api.h"

#include "platform/file_error.h"
#include "platform/win32/wide.h"

namespace plat::detail {

namespace {

// Why an open of path failed: a folder can't be opened as a file at all
// (the system says "access denied"), which the report calls a folder.
int OpenError(const std::wstring& path) {
  const DWORD error = ::GetLastError();
  if (error == ERROR_ACCESS_DENIED) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return EISDIR;
  }
  return win32::ErrnoFrom(error);
}

// Only a file on a disk is a file here: a pipe, a console or a device
// would never end (or never begin).
int RegularFileCheck(HANDLE h, FileIdentity* identity) {
  if (::GetFileType(h) != FILE_TYPE_DISK) return kErrNotRegularFile;
  bool isDirectory = false;
  if (int e = win32::IdentityOf(h, identity, &isDirectory)) return e;
  return isDirectory ? EISDIR : 0;
}

// Hands the handle to the C runtime as a descriptor in binary mode: no
// CR LF folding, no end at 0x1A; the platform does its own text mode.
int Descriptor(HANDLE h, int flags, int* fd) {
  const int opened = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), flags | _O_BINARY);
  if (opened < 0) {
    ::CloseHandle(h);
    return EMFILE;
  }
  ::_setmode(opened, _O_BINARY);
  *fd = opened;
  return 0;
}

}  // namespace

int OpenFileForReading(const std::string& path, int* fd, FileIdentity* identity) {
  const std::wstring wide = win32::SystemPath(path);
  HANDLE h = ::CreateFileW(wide.c_str(), GENERIC_READ, win32::kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
  if (h == INVALID_HANDLE_VALUE) return OpenError(wide);
  FileIdentity found;
  if (int refused = RegularFileCheck(h, &found)) {
    ::CloseHandle(h);
    return refused;
  }
  if (int e = Descriptor(h, _O_RDONLY, fd)) return e;
  *identity = found;
  return 0;
}

int OpenFileForWriting(const std::string& path, WriteOpen mode, int* fd) {
  const std::wstring wide = win32::SystemPath(path);
  const DWORD disposition = mode == WriteOpen::CreateNew ? CREATE_NEW : OPEN_ALWAYS;
  HANDLE h = ::CreateFileW(wide.c_str(), GENERIC_WRITE, win32::kShareAll, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
  if (h == INVALID_HANDLE_VALUE) return OpenError(wide);
  FileIdentity found;
  int refused = RegularFileCheck(h, &found);
  // Emptied only once it is known to be a file of the disk.
  if (refused == 0 && mode == WriteOpen::Truncate && found.size != 0 && !::SetEndOfFile(h)) {
    refused = win32::LastErrno();
  }
  if (refused != 0) {
    ::CloseHandle(h);
    return refused;
  }
  return Descriptor(h, mode == WriteOpen::Append ? _O_APPEND : 0, fd);
}

std::int64_t ReadAt(int fd, void* buffer, std::size_t n, std::int64_t offset) {
  HANDLE h = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  if (h == INVALID_HANDLE_VALUE) {
    errno = EBADF;
    return -1;
  }
  // A read at an offset moves a synchronous handle's position: it is put
  // back, so the reading that goes on from there sees nothing of this.
  LARGE_INTEGER zero{}, position{};
  if (!::SetFilePointerEx(h, zero, &position, FILE_CURRENT)) {
    errno = win32::LastErrno();
    return -1;
  }
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset));
  at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
  const DWORD want = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n);
  DWORD got = 0;
  const BOOL ok = ::ReadFile(h, buffer, want, &got, &at);
  const DWORD error = ::GetLastError();
  ::SetFilePointerEx(h, position, nullptr, FILE_BEGIN);
  if (!ok) {
    if (error == ERROR_HANDLE_EOF) return 0;
    errno = win32::ErrnoFrom(error);
    return -1;
  }
  return static_cast<std::int64_t>(got);
}

int SyncFile(int fd) {
  HANDLE h = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  if (h == INVALID_HANDLE_VALUE) return EBADF;
  return ::FlushFileBuffers(h) ? 0 : win32::LastErrno();
}

int ListFolder(const std::string& folder, const std::string& pattern, std::vector<FoundItem>* items) {
  // Every name is asked for and matched here, by the platform's own
  // matcher: the system's wildcards also match the short 8.3 names.
  const std::wstring all = win32::SystemPath(JoinPath(folder.empty() ? "." : folder, "*"));
  WIN32_FIND_DATAW found;
  HANDLE h = ::FindFirstFileExW(all.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return 0;  // a root folder with nothing in it
    // A file where the folder should be: the report calls it no folder, as
    // POSIX does.
    const DWORD attributes = ::GetFileAttributesW(win32::SystemPath(folder).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return ENOTDIR;
    return win32::ErrnoFrom(error);
  }
  int e = 0;
  do {
    std::string name = win32::Narrow(found.cFileName);
    if (name == "." || name == "..") continue;
    if (!MatchesPattern(pattern, name)) continue;
    FoundItem item;
    item.name = std::move(name);
    item.isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    item.size =
        item.isDirectory
            ? 0
            : static_cast<std::int64_t>((static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow);
    item.mtime = win32::TimeFromFileTime((static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                                         found.ftLastWriteTime.dwLowDateTime);
    items->push_back(std::move(item));
  } while (::FindNextFileW(h, &found));
  const DWORD error = ::GetLastError();
  if (error != ERROR_NO_MORE_FILES) e = win32::ErrnoFrom(error);
  ::FindClose(h);
  return e;
}

}  // namespace plat::detail

namespace plat::detail {

std::string RunningProgramPath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return win32::Narrow(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 2);  // cut short: a long path
  }
}

std::string CurrentFolderPath() {
  const DWORD n = ::GetCurrentDirectoryW(0, nullptr);
  if (n == 0) return {};
  std::wstring buffer(n, L'\0');
  const DWORD got = ::GetCurrentDirectoryW(n, buffer.data());
  if (got == 0 || got >= n) return {};
  return win32::Narrow(std::wstring_view(buffer.data(), got));
}

}  // namespace plat::detail
