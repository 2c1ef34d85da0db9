// The command-line splitter: any line splits without harm, blanks never
// start or end an argument outside quotes, and every argument quoted by
// QuoteArgument comes back as itself, whatever bytes it holds.
//
// Input: arguments separated by NUL bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/scratch_folder.h"
#include "platform/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);

  // The raw bytes as a command line of their own.
  const std::vector<std::string> parsed = SplitCommandLine(raw);
  std::size_t total = 0;
  for (const std::string& arg : parsed) total += arg.size();
  if (total > raw.size()) fuzzing::Fail("the arguments hold more bytes than the line");
  if (raw.find_first_not_of(" \t") != std::string::npos && parsed.empty())
    fuzzing::Fail("a non-blank line gave nothing");

  // The bytes as arguments, quoted and joined behind a program name.
  std::vector<std::string> args{"C:\\Program Files\\viewer.exe"};
  std::string line = "\"" + args[0] + "\"";
  std::size_t start = 0;
  for (;;) {
    std::size_t nul = raw.find('\0', start);
    args.push_back(raw.substr(start, nul == std::string::npos ? std::string::npos : nul - start));
    line += (args.size() % 2 ? "\t" : " ") + QuoteArgument(args.back());
    if (nul == std::string::npos) break;
    start = nul + 1;
  }
  if (SplitCommandLine(line) != args) fuzzing::Fail("a quoted argument did not come back as itself");
  return 0;
}
