#include "platform/confined_path.h"

#include <cerrno>

#include "platform/file_error.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace plat {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

char Folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c == '/' ? '\\' : c; }

// The real location of what handle (opened as path) leads to, every link
// and junction resolved, as the system spells it (without its "\\?\"
// prefix). Where the system can't say (wine does not for a path beyond 260
// characters), the full path as spelt, "." and ".." resolved, and no link
// on the way resolved.
std::string FinalPath(HANDLE h, const std::string& path) {
  std::wstring buffer(1024, L'\0');
  for (;;) {
    const DWORD n = ::GetFinalPathNameByHandleW(h, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) {
      const std::wstring spelt = win32::SystemPath(path);
      const DWORD full = ::GetFullPathNameW(spelt.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
      if (full == 0 || full >= buffer.size()) return std::string();
      buffer.resize(full);
      break;
    }
    if (n < buffer.size()) {
      buffer.resize(n);
      break;
    }
    buffer.resize(n + 1);
  }
  if (buffer.rfind(L"\\\\?\\UNC\\", 0) == 0)
    buffer = L"\\\\" + buffer.substr(8);
  else if (buffer.rfind(L"\\\\?\\", 0) == 0)
    buffer = buffer.substr(4);
  return win32::Narrow(buffer);
}

// Opens what path leads to, links followed, only to look at it.
HANDLE OpenFollowing(const std::string& path) {
  return ::CreateFileW(win32::SystemPath(path).c_str(), 0, win32::kShareAll, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

std::string RealFolder(const std::string& folder) {
  HANDLE h = OpenFollowing(folder.empty() ? "." : folder);
  if (h == INVALID_HANDLE_VALUE) {
    errno = win32::LastErrno();
    return std::string();
  }
  std::string real = FinalPath(h, folder.empty() ? "." : folder);
  if (real.empty()) errno = win32::LastErrno();
  ::CloseHandle(h);
  return real;
}

// Names are compared as the file system does: without regard to ASCII case,
// and with "/" and "\" as the same separator.
bool LiesWithin(const std::string& realRoot, const std::string& realPath) {
  if (realRoot.empty() || realPath.empty()) return false;
  std::string root = realRoot;
  while (root.size() > 1 && IsSeparator(root.back())) root.pop_back();
  if (realPath.size() < root.size()) return false;
  for (std::size_t i = 0; i < root.size(); ++i)
    if (Folded(root[i]) != Folded(realPath[i])) return false;
  // A drive's root ("C:") holds everything on the drive.
  if (root.size() == 2 && root[1] == ':') return realPath.size() == 2 || IsSeparator(realPath[2]);
  return realPath.size() == root.size() || IsSeparator(realPath[root.size()]);
}

bool IsConfinedFile(const std::string& root, const std::string& path, int* err) {
  int dummy = 0;
  int& error = err ? *err : dummy;
  const std::string realRoot = RealFolder(root);
  if (realRoot.empty()) {
    error = errno;
    return false;
  }
  const std::size_t slash = path.find_last_of("/\\");
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';  // "C:" alone is the drive's current folder
  const std::string leaf = slash == std::string::npos ? path : path.substr(slash + 1);
  if (leaf.empty() || leaf == "." || leaf == "..") {
    error = LiesWithin(realRoot, RealFolder(path)) ? EISDIR : kErrOutsideFolder;
    return false;
  }
  const std::wstring wide = win32::SystemPath(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const int lookError = win32::LastErrno();
    if (lookError != ENOENT) {
      error = lookError;
      return false;
    }
    // Nothing there yet: it would be made in the folder, which must be inside.
    const std::string realFolder = RealFolder(folder);
    if (realFolder.empty()) {
      error = errno == ENOENT ? ENOENT : errno;
      return false;
    }
    if (!LiesWithin(realRoot, realFolder)) {
      error = kErrOutsideFolder;
      return false;
    }
    return true;
  }
  // Something is there, perhaps a link or a junction: where it really
  // leads decides. A link that leads nowhere is refused, as its target
  // would be made wherever it points.
  HANDLE h = OpenFollowing(path);
  if (h == INVALID_HANDLE_VALUE) {
    const int e = win32::LastErrno();
    error = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? kErrOutsideFolder : e;
    return false;
  }
  const std::string real = FinalPath(h, path);
  const DWORD type = ::GetFileType(h);
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = ::GetFileInformationByHandle(h, &info) != 0;
  const int infoError = known ? 0 : win32::LastErrno();
  ::CloseHandle(h);
  if (real.empty() || !LiesWithin(realRoot, real)) {
    error = kErrOutsideFolder;
    return false;
  }
  if (!known) {
    error = infoError;
    return false;
  }
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    error = EISDIR;
    return false;
  }
  if (type != FILE_TYPE_DISK) {
    error = kErrNotRegularFile;
    return false;
  }
  return true;
}

}  // namespace plat
