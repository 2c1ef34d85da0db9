#pragma once
#include <cstdint>
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
bool FileExists(const std::string& path);
bool IsDirectory(const std::string& path);

// Renames src to dst and never replaces an existing dst (EEXIST then).
bool RenameNoReplace(const std::string& src, const std::string& dst, int* err = nullptr);

// Replaces dst by src in one step: only for putting a complete new version of a
// file in place of its old one (the old one is kept when this fails).
bool ReplaceFile(const std::string& src, const std::string& dst, int* err = nullptr);

bool DeleteFile(const std::string& path, int* err = nullptr);

// Sets a file's last-write time (tests and the sample generator use it).
bool SetFileTime(const std::string& path, std::time_t mtime, int* err = nullptr);

}  // namespace plat
