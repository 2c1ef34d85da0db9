#pragma once
#include <string>
#include <vector>

// Starts a program directly, never through a shell, and does not wait for
// it. program is the file to run as given (not looked for along the search
// path); args are its arguments, the program name first.
class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // False (errno in *err) when the program could not be started.
  virtual bool Start(const std::string& program, const std::vector<std::string>& args, int* err) = 0;
};

// The launcher of the running system: posix_spawn, with a reaper that
// collects the child's exit so no finished process lingers; CreateProcessW
// on Windows, with the command line quoted as SplitCommandLine reads it.
class SpawnLauncher : public ProcessLauncher {
 public:
  bool Start(const std::string& program, const std::vector<std::string>& args, int* err) override;
};
