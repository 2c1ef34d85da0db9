#include "tests/batch/batch_runner.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/command_line.h"
#else
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <stdexcept>

#include "platform/file_ops.h"
#include "platform/local_time.h"
#include "tests/support/temp_dir.h"
#include "tools/samplegen/log_writer.h"

#ifdef _WIN32
// No shell: kiv-batch.exe is started directly with its standard streams on
// files, and its command line quoted as Windows programs read it.
BatchResult RunBatch(const std::vector<std::string>& args, const std::string& stdinText) {
  TempDir io;
  WriteBytes(io.Sub("in"), stdinText);
  std::string line = "\"" KIV_BATCH_EXE "\"";
  for (const std::string& a : args) line += " " + QuoteArgument(a);
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  auto open = [&](const std::string& name, bool write) {
    return ::CreateFileW(FsPath(io.Sub(name)).c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, write ? CREATE_ALWAYS : OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = open("in", false);
  startup.hStdOutput = open("out", true);
  startup.hStdError = open("err", true);
  std::wstring commandLine = FsPath(line).wstring();
  PROCESS_INFORMATION process{};
  BatchResult r;
  // Under wine a process start now and then fails for a moment: tried again
  // before the run counts as not started.
  bool started = false;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt > 0) ::Sleep(200);
    started = ::CreateProcessW(FsPath(KIV_BATCH_EXE).c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               nullptr, &startup, &process);
  }
  const DWORD startError = started ? 0 : ::GetLastError();
  if (started) {
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    r.status = static_cast<int>(code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  for (HANDLE h : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) ::CloseHandle(h);
  r.out = ReadBytes(io.Sub("out"));
  r.err = started ? ReadBytes(io.Sub("err")) : "kiv-batch.exe not started: error " + std::to_string(startError);
  return r;
}
#else
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
#endif

std::map<std::string, FileState> Snapshot(const std::string& folder) {
  std::map<std::string, FileState> files;
  for (const auto& item : std::filesystem::directory_iterator(FsPath(folder))) {
    plat::FileStatus st;
    plat::GetFileStatus(Utf8Name(item.path()), &st);
    files[Utf8Name(item.path().filename())] = FileState{ReadBytes(Utf8Name(item.path())), st.mtime};
  }
  return files;
}

samplegen::SharedFolderResult MakeSample(const std::string& dir, int rooms, int messages, int forums) {
  samplegen::SharedFolderOptions options;
  options.seed = 7;
  options.forums = forums;
  options.rooms = rooms;
  options.messages = messages;
  samplegen::SharedFolderResult r = samplegen::GenerateSharedFolder(dir, options);
  if (!r.ok) throw std::runtime_error(r.error);
  return r;
}

bool RewriteRoomOne(const std::string& forum, int first, int messages) {
  for (const samplegen::LogKind kind : {samplegen::LogKind::Body, samplegen::LogKind::Title}) {
    samplegen::LogOptions room1;
    room1.kind = kind;
    room1.first = first;
    room1.messages = messages;
    room1.replace = true;
    const char* name = kind == samplegen::LogKind::Body ? "/MES_01.LOG" : "/MES#01.LOG";
    if (!samplegen::WriteLogFile(forum + name, room1).ok) return false;
  }
  return true;
}

std::string ArchiveMonth() { return plat::FormatLocalTime(std::time(nullptr), "%y%m"); }
std::string TodayForHeader() { return plat::FormatLocalTime(std::time(nullptr), "%y/%m/%d"); }

std::map<std::string, std::string> ParseJsonLine(const std::string& line) {
  std::map<std::string, std::string> object;
  std::size_t i = 0;
  auto text = [&](std::string& out) {
    if (line[i++] != '"') return false;
    while (i < line.size() && line[i] != '"') {
      if (line[i] != '\\') {
        out += line[i++];
      } else if (line[i + 1] == 'u') {
        const unsigned code = static_cast<unsigned>(std::stoul(line.substr(i + 2, 4), nullptr, 16));
        out += code < 0x80 ? std::string(1, static_cast<char>(code)) : code == 0xFFFD ? "\xEF\xBF\xBD" : "?";
        i += 6;
      } else {
        out += line[i + 1];
        i += 2;
      }
    }
    return i++ < line.size();
  };
  if (line.empty() || line[i++] != '{') return {};
  while (i < line.size() && line[i] != '}') {
    std::string key, value;
    if (!text(key) || line[i++] != ':') return {};
    if (line[i] == '"') {
      if (!text(value)) return {};
    } else {
      const std::size_t end = line.find_first_of(",}", i);
      value = line.substr(i, end - i);
      i = end;
    }
    object[key] = value;
    if (line[i] == ',') ++i;
  }
  return object;
}

void LockWait::Set(const char* ms) {
#ifdef _WIN32
  ::_putenv_s("KIV_LOCK_WAIT_MS", ms);
#else
  if (*ms)
    ::setenv("KIV_LOCK_WAIT_MS", ms, 1);
  else
    ::unsetenv("KIV_LOCK_WAIT_MS");
#endif
}
