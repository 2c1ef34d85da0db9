// kiv-batch: the commands of the log list on one forum folder, and the
// upkeep of every forum of a shared log folder, for scripts and scheduled
// jobs.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "batch/batch_command.h"
#include "batch/batch_run.h"
#include "batch/maintain_run.h"
#include "batch/usage.h"
#include "platform/console.h"
#include "platform/interrupt.h"
#include "resources/program_info.h"

namespace {

int Usage(const std::string& problem) {
  std::fprintf(stderr, "kiv-batch: %s (see kiv-batch --help)\n", problem.c_str());
  return kExitUsage;
}

// The folder as an absolute path without trailing separator, or empty when
// it is no folder.
std::string ForumPath(const std::string& arg) {
  std::error_code ec;
#ifdef _WIN32
  // The argument is UTF-8 (plat::ProgramArguments); the path's own narrow
  // form would be the ANSI code page.
  std::filesystem::path p =
      std::filesystem::absolute(std::filesystem::path(std::u8string(arg.begin(), arg.end())), ec).lexically_normal();
  if (ec || !std::filesystem::is_directory(p, ec)) return {};
  const std::u8string wide = p.u8string();
  std::string s(wide.begin(), wide.end());
  // "C:\" keeps the separator that makes it the drive's root.
  while (s.size() > 1 && (s.back() == '/' || s.back() == '\\') && s[s.size() - 2] != ':') s.pop_back();
#else
  std::filesystem::path p = std::filesystem::absolute(arg, ec).lexically_normal();
  if (ec || !std::filesystem::is_directory(p, ec)) return {};
  std::string s = p.string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
#endif
  return s;
}

int RunSession(BatchRun& run) {
  std::vector<BatchCommand> script;
  std::string line;
  int lineNumber = 0;
  while (std::getline(std::cin, line)) {
    ++lineNumber;
    std::vector<std::string> words = SessionLineWords(line);
    if (words.empty()) continue;
    BatchCommand command;
    std::string error;
    if (!ParseBatchCommand(words, command, error)) {
      return Usage("line " + std::to_string(lineNumber) + ": " + error);
    }
    if (run.Check(command) != kExitDone) return kExitUsage;
    script.push_back(command);
  }
  bool writes = false, dryRun = false;
  for (const BatchCommand& command : script) {
    writes = writes || command.Writes();
    dryRun = dryRun || command.dryRun;
  }
  if (writes && run.HoldForum() != kExitDone) return kExitIncomplete;
  // A script that only reads and plans writes nothing, a repair included.
  int status = dryRun && !writes ? kExitDone : run.Repair();
  for (const BatchCommand& command : script) {
    if (plat::InterruptRequested()) break;
    if (run.Run(command, true) != kExitDone) status = kExitIncomplete;
  }
  return status;
}

int RunMaintainCommand(const std::vector<std::string>& args) {
  if (args.size() < 2) return Usage("maintain needs SHARED_DIR");
  const std::string shared = ForumPath(args[1]);
  if (shared.empty()) return Usage(args[1] + " is not a folder");
  std::vector<std::string> words{args[0]};
  words.insert(words.end(), args.begin() + 2, args.end());
  MaintainCommand command;
  std::string error;
  if (!ParseMaintainCommand(words, command, error)) return Usage(error);
  plat::CatchInterrupts();
  const int status = RunMaintain(shared, command, stdout, stderr);
  plat::EndAsInterrupted();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // The documented lines go out byte for byte on every system.
  plat::PrepareConsole();
  const std::vector<std::string> all = plat::ProgramArguments(argc, argv);
  std::vector<const char*> utf8Argv;
  for (const std::string& a : all) utf8Argv.push_back(a.c_str());
  utf8Argv.push_back(nullptr);
  std::vector<std::string> args(all.begin() + (all.empty() ? 0 : 1), all.end());
  if (args.empty()) return Usage("no command given");
  if (const auto answer = InfoRequestAnswer("kiv-batch", kBatchUsage, static_cast<int>(all.size()), utf8Argv.data())) {
    std::fputs(answer->c_str(), stdout);
    return kExitDone;
  }
  const std::string verb = args[0];
  if (verb == "maintain") return RunMaintainCommand(args);
  if (args.size() < 2) return Usage(verb + " needs FORUM_DIR");
  const std::string forum = ForumPath(args[1]);
  if (forum.empty()) return Usage(args[1] + " is not a folder");

  std::vector<std::string> words{verb};
  words.insert(words.end(), args.begin() + 2, args.end());
  // Ctrl-C and SIGTERM take back the file being split and end the run.
  plat::CatchInterrupts();
  int status = kExitDone;
  if (verb == "session") {
    if (words.size() > 1) return Usage("session takes no options");
    BatchRun run(forum, stdout, stderr);
    status = run.Finish(RunSession(run));
  } else {
    BatchCommand command;
    std::string error;
    if (!ParseBatchCommand(words, command, error)) return Usage(error);
    BatchRun run(forum, stdout, stderr);
    if (run.Check(command) != kExitDone) return kExitUsage;
    if (command.Writes() && run.HoldForum() != kExitDone) return kExitIncomplete;
    // A dry run writes nothing, a repair included.
    status = command.dryRun ? kExitDone : run.Repair();
    const int ran = run.Run(command, false);
    if (ran != kExitDone) status = ran;
    status = run.Finish(status);
  }
  // The run's history is written (its splits are real); then the program
  // ends as the signal would have ended it.
  plat::EndAsInterrupted();
  return status;
}
