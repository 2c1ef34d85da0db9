#pragma once
#include <string>
#include <string_view>

// text as a JSON string, quotes included: '"', '\' and control characters
// escaped, and any byte that does not belong to a well-formed UTF-8
// sequence (a file name on Linux is bytes) given as U+FFFD, so that every
// line kiv-batch prints with --json parses.
std::string JsonString(std::string_view text);
