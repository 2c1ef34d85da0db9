#pragma once
#include <cstdint>
#include <cstddef>
#include <ctime>
#include <string>

namespace plat {

// Joins a folder and a name with the platform's separator.
std::string JoinPath(const std::string& folder, const std::string& name);

struct FileStatus {
  std::time_t mtime = 0;  // last write, whole seconds
  std::int64_t size = 0;
  bool isDirectory = false;
};

// Each returns false on failure with *err set to errno (err may be null).
bool GetFileStatus(const std::string& path, FileStatus* status, int* err = nullptr);

// Which file a name leads to, and how it stood: a commit compares these to
// learn whether the host wrote to a log, or whether a name still holds the
// file a journal recorded.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::time_t mtime = 0;
  bool SameFile(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
  bool operator==(const FileIdentity& other) const = default;
};
bool GetFileIdentity(const std::string& path, FileIdentity* identity, int* err = nullptr);
bool FileExists(const std::string& path);
bool IsDirectory(const std::string& path);

// Renames src to dst and never replaces an existing dst (EEXIST then).
bool RenameNoReplace(const std::string& src, const std::string& dst, int* err = nullptr);

// Replaces dst by src in one step: only for putting a complete new version of a
// file in place of its old one (the old one is kept when this fails).
bool ReplaceFile(const std::string& src, const std::string& dst, int* err = nullptr);

bool DeleteFile(const std::string& path, int* err = nullptr);

// Gives the file src a second name dst (never replacing an existing dst):
// the log keeps its name while its backup name already holds it. EPERM or
// EOPNOTSUPP where the file system has no such links.
bool LinkNoReplace(const std::string& src, const std::string& dst, int* err = nullptr);

// Makes the folder's names durable: the renames and deletions made in it
// survive a power cut once this returns true.
bool SyncFolder(const std::string& folder, int* err = nullptr);

// Cuts a file back to size bytes (taking back an append that failed).
bool TruncateFile(const std::string& path, std::int64_t size, int* err = nullptr);

// Reads up to length bytes from offset as they stand in the file.
bool ReadFileBytes(const std::string& path, std::int64_t offset, std::size_t length, std::string* bytes,
                   int* err = nullptr);

// Makes one folder (its parent must exist; EEXIST when the name is taken),
// and removes an empty one. The sample generator and the tests use them.
bool MakeFolder(const std::string& path, int* err = nullptr);
bool RemoveFolder(const std::string& path, int* err = nullptr);

// Sets a file's last-write time (tests and the sample generator use it).
bool SetFileTime(const std::string& path, std::time_t mtime, int* err = nullptr);

}  // namespace plat
