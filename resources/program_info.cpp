#include "resources/program_info.h"

#include "resources/version.h"

std::string VersionLine(std::string_view program) {
  // The companions name the package they come with.
  const std::string name = program == "Kiv" ? std::string("Kiv") : std::string(program) + " (Kiv)";
  return name + " " + KIV_VERSION;
}

std::optional<std::string> InfoRequestAnswer(std::string_view program, std::string_view usage, int argc,
                                             const char* const* argv) {
  // Only the first argument counts: a forum folder named "--help" further on
  // stays a folder.
  if (argc < 2 || argv[1] == nullptr) return std::nullopt;
  const std::string_view arg = argv[1];
  if (arg == "--version") return VersionLine(program) + "\n";
  if (arg == "--help" || arg == "-h") {
    std::string text(usage);
    if (!text.empty() && text.back() != '\n') text += '\n';
    return text;
  }
  return std::nullopt;
}
