#pragma once
#include <string>
#include <vector>

// Command lines by the rules of the host platform the settings come from:
// arguments are separated by blanks outside double quotes; 2n backslashes
// before a quote give n backslashes and the quote opens or closes a quoted
// part, 2n+1 give n backslashes and a literal quote; "" inside a quoted
// part is a literal quote; other backslashes are literal. The program name
// (the first argument) ends at the first blank, or at the closing quote when
// it begins with one, and knows no backslash escapes.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// text in double quotes, so that SplitCommandLine gives it back as one
// argument whatever it holds (quotes and trailing backslashes are escaped).
std::string QuoteArgument(const std::string& text);
