#include "platform/process_start.h"

#include <cerrno>

#include "platform/command_line.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

// The program is started directly (never through cmd.exe) on a command line
// built by the rules SplitCommandLine reads: the program name in quotes as
// it is (a Windows file name holds no quote), every argument quoted so that
// blanks, quotes and trailing backslashes come through to the program as one
// argument. Nothing waits for it; its handles are let go at once, so no
// finished process lingers.
bool SpawnLauncher::Start(const std::string& program, const std::vector<std::string>& args, int* err) {
  std::string line = "\"" + (args.empty() ? program : args[0]) + "\"";
  for (std::size_t i = 1; i < args.size(); ++i) line += " " + QuoteArgument(args[i]);
  const std::wstring application = plat::win32::SystemPath(program);
  std::wstring commandLine = plat::win32::Wide(line);  // CreateProcessW may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
    if (err) *err = plat::win32::LastErrno();
    return false;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}
