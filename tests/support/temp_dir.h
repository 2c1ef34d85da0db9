#pragma once
#include <cstdio>
#include <filesystem>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string Sub(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A UTF-8 name as a path of the standard library, and back: on Windows the
// library's narrow strings are in the ANSI code page, not UTF-8.
std::filesystem::path FsPath(const std::string& path);
std::string Utf8Name(const std::filesystem::path& path);

// Whether the tests run as Windows programs under wine, whose file system
// lies on a POSIX one: a rename in case only keeps the old spelling there.
bool RunningUnderWine();

// Whole-file helpers for tests: raw bytes, no text-mode translation.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
void MakeDir(const std::string& path);
// Appends bytes to an existing file as the host does while it downloads
// (open for appending, write, close): the same file, longer. False when the
// file can't be opened or written.
bool AppendBytes(const std::string& path, const std::string& bytes);
// Everything written to a temporary stream, which is then closed.
std::string Drain(std::FILE* f);
