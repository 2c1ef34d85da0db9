#pragma once
#include <string>
#include <string_view>

namespace plat {

// A small file written by one run at a time and held locked while it is
// open, so another program working in the same folder can tell that the
// file's run is still alive. Bytes go to disk as they are (no text mode).
class LockedFile {
 public:
  LockedFile() = default;
  ~LockedFile();  // closes, which lets go of the lock
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  // Creates the file, which must not exist yet, and locks it.
  bool Create(const std::string& path, int* err);
  // Opens an existing file for reading and appending and locks it; false with
  // *busy set when another process holds the lock.
  bool OpenExisting(const std::string& path, bool* busy, int* err);

  bool Append(std::string_view bytes, int* err);
  bool Sync(int* err);  // makes what was appended durable
  bool ReadAll(std::string* bytes, int* err);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
  std::string path_;
};

}  // namespace plat
