#include "checker/silent_switch.h"

#include "model/log_names.h"

// Only ASCII letters fold. A CP932 or UTF-8 character is never one byte
// that folds to K, I or V, so a byte-wise comparison is multibyte-safe.
bool IsSilentRun(const std::vector<std::string>& args) {
  if (args.size() != 1) return false;
  const std::string& arg = args.front();
  if (arg.size() != 4 || (arg[0] != '/' && arg[0] != '-')) return false;
  return SameIgnoringAsciiCase(arg.substr(1), "KIV");
}
