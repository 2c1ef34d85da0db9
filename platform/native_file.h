#pragma once
// How the text reader and writer reach a file: a descriptor of the C
// runtime's, opened by the system's own calls so that the platform's
// guarantees hold (binary bytes, regular files only, no wait on a FIFO,
// other programs still free to read, write and rename the file). One
// implementation per platform: platform/posix, platform/win32.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/dir_search.h"
#include "platform/file_ops.h"

namespace plat::detail {

// Opens a regular file for reading; 0 with *fd and the file as it stood
// (*identity), or the error: EISDIR for a folder, kErrNotRegularFile for
// a FIFO, a device or a socket.
int OpenFileForReading(const std::string& path, int* fd, FileIdentity* identity);

enum class WriteOpen {
  CreateNew,  // the file must not exist yet
  Append,     // created when missing, written at its end
  Truncate,   // created when missing, emptied when present
};
// Opens a regular file for writing; 0 with *fd, or the error.
int OpenFileForWriting(const std::string& path, WriteOpen mode, int* fd);

// Reads up to n bytes at offset, the file position left as it was: the
// count, 0 at the end, -1 with errno set.
std::int64_t ReadAt(int fd, void* buffer, std::size_t n, std::int64_t offset);

// Makes what was written to fd durable: 0, or the error.
int SyncFile(int fd);

// Appends to *items every item of folder whose name matches pattern
// (MatchesPattern), "." and ".." left out, in the order the system lists
// them; 0, or the error that stopped the listing (the items found before
// it are kept).
int ListFolder(const std::string& folder, const std::string& pattern, std::vector<FoundItem>* items);

// The running program's executable, in full; empty when unknown.
std::string RunningProgramPath();
// The current folder; empty when unknown.
std::string CurrentFolderPath();

}  // namespace plat::detail
