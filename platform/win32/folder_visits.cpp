#include "platform/folder_visits.h"

#include "platform/confined_path.h"
#include "platform/file_ops.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace plat {

FolderVisits::FolderVisits(const std::string& root) : realRoot_(RealFolder(root)) { Mark(root); }

bool FolderVisits::Mark(const std::string& folder) {
  HANDLE h = ::CreateFileW(win32::SystemPath(folder).c_str(), 0, win32::kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  FileIdentity identity;
  const int e = win32::IdentityOf(h, &identity);
  ::CloseHandle(h);
  if (e != 0) return false;
  return entered_.insert({identity.device, identity.inode}).second;
}

bool FolderVisits::Enter(const std::string& folder) {
  if (!LiesWithin(realRoot_, RealFolder(folder))) return false;
  return Mark(folder);
}

bool IsLink(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(win32::SystemPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace plat
