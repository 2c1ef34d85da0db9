#include "tests/batch/batch_runner.h"

#include <sys/wait.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <stdexcept>

#include "platform/file_ops.h"
#include "platform/local_time.h"
#include "tests/support/temp_dir.h"

namespace {

std::string ShellQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

BatchResult RunBatch(const std::vector<std::string>& args, const std::string& stdinText) {
  TempDir io;
  WriteBytes(io.Sub("in"), stdinText);
  std::string command = ShellQuote(KIV_BATCH_EXE);
  for (const std::string& a : args) command += " " + ShellQuote(a);
  command += " <" + ShellQuote(io.Sub("in")) + " >" + ShellQuote(io.Sub("out")) + " 2>" + ShellQuote(io.Sub("err"));
  const int raw = std::system(command.c_str());
  BatchResult r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = ReadBytes(io.Sub("out"));
  r.err = ReadBytes(io.Sub("err"));
  return r;
}

std::map<std::string, FileState> Snapshot(const std::string& folder) {
  std::map<std::string, FileState> files;
  for (const auto& item : std::filesystem::directory_iterator(folder)) {
    plat::FileStatus st;
    plat::GetFileStatus(item.path().string(), &st);
    files[item.path().filename().string()] = FileState{ReadBytes(item.path().string()), st.mtime};
  }
  return files;
}

samplegen::SharedFolderResult MakeSample(const std::string& dir, int rooms, int messages) {
  samplegen::SharedFolderOptions options;
  options.seed = 7;
  options.forums = 1;
  options.rooms = rooms;
  options.messages = messages;
  samplegen::SharedFolderResult r = samplegen::GenerateSharedFolder(dir, options);
  if (!r.ok) throw std::runtime_error(r.error);
  return r;
}

std::string ArchiveMonth() { return plat::FormatLocalTime(std::time(nullptr), "%y%m"); }
std::string TodayForHeader() { return plat::FormatLocalTime(std::time(nullptr), "%y/%m/%d"); }
