#pragma once
#include <string>
#include <vector>

// True when the command line asks for a silent run: exactly one argument,
// "/KIV" or "-KIV" with the word in any case. args leaves out the program.
bool IsSilentRun(const std::vector<std::string>& args);
