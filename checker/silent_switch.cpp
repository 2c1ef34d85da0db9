#include "checker/silent_switch.h"

namespace {
// Only ASCII letters fold. A CP932 or UTF-8 character is never one byte
// that folds to K, I or V, so a byte-wise comparison is multibyte-safe.
char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool IsSilentRun(const std::vector<std::string>& args) {
  if (args.size() != 1) return false;
  const std::string& arg = args.front();
  if (arg.size() != 4 || (arg[0] != '/' && arg[0] != '-')) return false;
  return FoldAscii(arg[1]) == 'K' && FoldAscii(arg[2]) == 'I' && FoldAscii(arg[3]) == 'V';
}
