#pragma once
#include <optional>
#include <string>
#include <string_view>

// The answer to --help or --version (also -h): what the program prints
// before it ends with status 0, without opening any window or touching any
// file. nullopt when the first argument asks for neither and the program runs.
std::optional<std::string> InfoRequestAnswer(std::string_view program, std::string_view usage, int argc,
                                             const char* const* argv);

// "PROGRAM (Kiv) VERSION" ("Kiv VERSION" for Kiv itself): what --version prints.
std::string VersionLine(std::string_view program);
