#pragma once
// A private folder for the targets that need files: made once per fuzzing
// process, emptied before every input so that no input sees what an earlier
// one left behind.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

namespace fuzzing {

inline const std::string& ScratchFolder() {
  static const std::string path = [] {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/kiv-fuzz-XXXXXX";
    if (!::mkdtemp(tmpl.data())) std::abort();
    return tmpl;
  }();
  return path;
}

inline void EmptyScratchFolder() {
  std::error_code ec;
  for (const auto& item : std::filesystem::directory_iterator(ScratchFolder(), ec)) {
    std::filesystem::remove_all(item.path(), ec);
  }
}

// Writes bytes as they are (no text-mode translation); aborts when it can't,
// since every later check would then be about a file that isn't the input.
inline void PutFile(const std::string& path, std::string_view bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) std::abort();
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) std::abort();
    done += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) std::abort();
}

inline std::string GetFile(const std::string& path) {
  std::string out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return out;
}

// What the host's text mode makes of a file's bytes: the input ends at the
// first 0x1A, and CR LF becomes LF (a CR before anything else stays).
inline std::string TextModeContent(std::string_view bytes) {
  std::size_t end = bytes.find('\x1a');
  if (end != std::string_view::npos) bytes = bytes.substr(0, end);
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    out += bytes[i];
  }
  return out;
}

// Stops the run with a message libFuzzer shows next to the input.
[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "kiv fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace fuzzing
