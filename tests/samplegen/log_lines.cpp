#include "tests/samplegen/log_lines.h"

#include <cstdlib>

#include "engine/header_templates.h"
#include "platform/text_reader.h"

std::vector<std::string> ReadLogLines(const std::string& path) {
  std::vector<std::string> lines;
  plat::TextReader in;
  if (!in.Open(path)) return lines;
  std::string line;
  while (in.ReadLine(line)) lines.push_back(line);
  in.Close();
  return lines;
}

namespace {

bool Fits(char t, char c) {
  if (t == '9') return c >= '0' && c <= '9';
  if (t == 'Z') return c >= 'A' && c <= 'Z';
  if (t == '.') return true;
  return t == c;
}

bool Matches(const char* tpl, const std::vector<std::string>& lines, std::size_t at) {
  std::size_t col = 0;
  for (const char* t = tpl; *t; ++t) {
    if (*t == '!') {
      if (++at >= lines.size()) return false;
      col = 0;
      continue;
    }
    const std::string& line = lines[at];
    if (col >= line.size() || line[col] == '\n' || !Fits(*t, line[col])) return false;
    ++col;
  }
  return true;
}

}  // namespace

TemplateMatch MatchAt(const std::vector<std::string>& lines, std::size_t at) {
  for (std::size_t i = 0; i < kHeaderTemplates.size(); ++i) {
    if (!Matches(kHeaderTemplates[i], lines, at)) continue;
    int number = std::atoi(lines[at].c_str());
    if (number != 0) return {static_cast<int>(i) + 1, number};
  }
  return {};
}
