#pragma once
#include <string>
#include <vector>

// A log as the engine reads it, for checking samples against the header
// templates without the engine itself: lines in the reader's pieces (LF
// kept), and the template a line starts.

std::vector<std::string> ReadLogLines(const std::string& path);

struct TemplateMatch {
  int templateNo = 0;  // 1 to 4; 0 when the line starts no header
  int number = 0;      // the message number it shows
};

// Tries the four header templates at line `at`, in their order; a template's
// "!" goes on at the next line. Number 0 counts as no header.
TemplateMatch MatchAt(const std::vector<std::string>& lines, std::size_t at);
