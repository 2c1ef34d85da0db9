#include "platform/console.h"

#include <cstdlib>
#include <fcntl.h>
#include <io.h>

#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"
#include <shellapi.h>

namespace plat {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!wide) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> args;
  args.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) args.push_back(win32::Narrow(wide[i]));
  ::LocalFree(wide);
  return args;
}

void PrepareConsole() {
  ::_setmode(::_fileno(stdin), _O_BINARY);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
  // The texts are UTF-8; the console shows them so (and the progress line's
  // erase sequence works on the consoles of Windows 10 and later).
  ::SetConsoleOutputCP(CP_UTF8);
  for (DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    HANDLE h = ::GetStdHandle(which);
    DWORD mode = 0;
    if (h != INVALID_HANDLE_VALUE && ::GetConsoleMode(h, &mode)) {
      ::SetConsoleMode(h, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
  }
}

bool IsTerminal(std::FILE* stream) {
  // A console, not any character device (NUL is one too).
  HANDLE h = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
  DWORD mode = 0;
  return h != INVALID_HANDLE_VALUE && ::GetConsoleMode(h, &mode) != 0;
}

std::string EnvironmentValue(const char* name) {
  const std::wstring wideName = win32::Wide(name);
  const DWORD n = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (n == 0) return std::string();
  std::wstring value(n, L'\0');
  const DWORD got = ::GetEnvironmentVariableW(wideName.c_str(), value.data(), n);
  if (got == 0 || got >= n) return std::string();
  value.resize(got);
  return win32::Narrow(value);
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace plat
