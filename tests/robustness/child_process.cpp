#include "tests/robustness/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

#include "tests/support/temp_dir.h"

namespace robust {

ChildEnd RunChild(const std::string& exe, const std::vector<std::string>& args,
                  const std::vector<std::pair<std::string, std::string>>& env, int timeoutSeconds) {
  ChildRun how;
  how.env = env;
  how.timeoutSeconds = timeoutSeconds;
  return RunChild(exe, args, how);
}

ChildEnd RunChild(const std::string& exe, const std::vector<std::string>& args, const ChildRun& how) {
  TempDir io;
  const std::string outPath = io.Sub("out"), errPath = io.Sub("err"), inPath = io.Sub("in");
  WriteBytes(inPath, how.input);
  ChildEnd end;
  const pid_t pid = ::fork();
  if (pid == 0) {
    for (const auto& [name, value] : how.env) ::setenv(name.c_str(), value.c_str(), 1);
    int in = ::open(inPath.c_str(), O_RDONLY);
    int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) ::_exit(127);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    std::vector<char*> argv{const_cast<char*>(exe.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(exe.c_str(), argv.data());
    ::_exit(127);
  }
  if (pid < 0) return end;
  int raw = 0;
  bool ended = false;
  if (how.signal != 0) {
    ::usleep(static_cast<useconds_t>(how.delayMicros));
    ended = ::waitpid(pid, &raw, WNOHANG) == pid;
    if (!ended) ::kill(pid, how.signal);
  }
  int timeoutSeconds = how.timeoutSeconds;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  while (!ended) {
    const pid_t done = ::waitpid(pid, &raw, timeoutSeconds > 0 ? WNOHANG : 0);
    if (done == pid) break;
    if (done < 0) continue;
    if (std::chrono::steady_clock::now() >= deadline) {
      end.timedOut = true;
      ::kill(pid, SIGKILL);
      timeoutSeconds = 0;  // now wait for it to go
      continue;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  end.exited = WIFEXITED(raw);
  end.status = end.exited ? WEXITSTATUS(raw) : -1;
  end.signal = WIFSIGNALED(raw) ? WTERMSIG(raw) : 0;
  end.out = ReadBytes(outPath);
  end.err = ReadBytes(errPath);
  return end;
}

}  // namespace robust
