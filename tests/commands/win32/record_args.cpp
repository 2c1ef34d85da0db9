// The program the launcher test starts on Windows, where no shell script
// can stand in for one: it writes each argument it received, in brackets,
// one a line, to the file KIV_RECORD_ARGS_OUT names.
#include <cstdio>
#include <string>
#include <windows.h>

#include "platform/console.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = plat::ProgramArguments(argc, argv);
  const std::string outName = plat::EnvironmentValue("KIV_RECORD_ARGS_OUT");
  std::string text;
  for (std::size_t i = 1; i < args.size(); ++i) text += "[" + args[i] + "]\n";
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, outName.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, outName.c_str(), -1, wide.data(), n);
  std::FILE* out = ::_wfopen(wide.c_str(), L"wb");
  if (!out) return 1;
  std::fwrite(text.data(), 1, text.size(), out);
  return std::fclose(out) == 0 ? 0 : 1;
}
