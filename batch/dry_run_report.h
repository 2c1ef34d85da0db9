#pragma once
#include <cstdio>
#include <string>
#include <vector>

struct SplitPreview;

// What a dry run would make, on standard output, one line per thing: the
// fields separated by a tab, or (json) one JSON object a line. Each line
// begins with the forum folder's name and the file it is about:
//   FORUM LOG old NAME LOWEST HIGHEST BYTES       an old log the split makes
//   FORUM LOG log NAME LOWEST HIGHEST BYTES       the log's new file
//   FORUM LOG backup NAME new|replaces            where the log as it is goes
//   FORUM LOG skip                                a log left as it is (told why)
//   FORUM AR.LST append LINE                      a line the export appends
//   FORUM AR.LST drop LINE                        a line the check drops
// LOWEST and HIGHEST are "-" (null) for a file that would hold no message;
// the lines of AR.LST are given in UTF-8.
class DryRunReport {
 public:
  DryRunReport(std::FILE* out, bool json) : out_(out), json_(json) {}

  void Splits(const std::string& forum, const SplitPreview& preview) const;
  // lines are CP932, as the list holds them; what is "append" or "drop".
  void ListLines(const std::string& forum, const std::vector<std::string>& lines, const char* what) const;

 private:
  void Line(const std::string& forum, const std::string& file, const char* what,
            const std::vector<std::string>& fields) const;

  std::FILE* out_;
  bool json_;
};
