#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <random>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/file_ops.h"

#ifdef _WIN32
#include <windows.h>
#endif

#ifdef _WIN32
// Windows has no mkdtemp: a name of its own under the system's temporary
// folder, tried until one is free.
TempDir::TempDir() {
  const std::u8string base = std::filesystem::temp_directory_path().u8string();
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = std::string(base.begin(), base.end());
    if (candidate.empty() || (candidate.back() != '\\' && candidate.back() != '/')) candidate += "/";
    candidate += "kivtest." + std::to_string(random() % 1000000000u);
    if (plat::MakeFolder(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("no temporary folder");
}
#else
TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string tmpl = std::string(base && *base ? base : "/tmp") + "/kivtest.XXXXXX";
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}
#endif

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(FsPath(path_), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                               ec);
  std::filesystem::remove_all(FsPath(path_), ec);
}

bool RunningUnderWine() {
#ifdef _WIN32
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

std::filesystem::path FsPath(const std::string& path) {
#ifdef _WIN32
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
#else
  return std::filesystem::path(path);
#endif
}

std::string Utf8Name(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(FsPath(path), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool AppendBytes(const std::string& path, const std::string& bytes) {
  if (!std::filesystem::is_regular_file(FsPath(path))) return false;
  // Binary: Windows' C runtime would write each LF as CR LF otherwise.
  std::ofstream out(FsPath(path), std::ios::binary | std::ios::app);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

void MakeDir(const std::string& path) { std::filesystem::create_directories(FsPath(path)); }

std::string Drain(std::FILE* f) {
  std::string text;
  std::fflush(f);
  std::rewind(f);
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return text;
}
