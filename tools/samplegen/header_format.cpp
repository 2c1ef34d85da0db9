#include "tools/samplegen/header_format.h"

#include <cstdio>

namespace samplegen {

HeaderTemplate TitleTemplateFor(HeaderTemplate body) {
  return body == HeaderTemplate::Body3 ? HeaderTemplate::Title3 : HeaderTemplate::Title5;
}

HeaderTemplate BodyTemplateFor(HeaderTemplate title) {
  return title == HeaderTemplate::Title3 ? HeaderTemplate::Body3 : HeaderTemplate::Body5;
}

namespace {

// The line count column is two wide ("(.9)" and "..9" both end in a digit),
// so long messages show 99, as the host does.
int ShownLines(int lines) { return lines < 0 ? 0 : lines > 99 ? 99 : lines; }

// The body header's second line: "(", the line count in two columns, ")",
// three spaces, YY/MM/DD and the hour in two columns.
std::string BodySecondLine(const MessageFields& m) {
  char line[64];
  std::snprintf(line, sizeof line, "(%2d)   %02d/%02d/%02d %2d:%02d\n", ShownLines(m.bodyLines), m.when.year % 100,
                m.when.month, m.when.day, m.when.hour, m.when.minute);
  return line;
}

}  // namespace

std::string FormatHeader(HeaderTemplate t, const MessageFields& m) {
  char head[96];
  std::string out;
  out.reserve(160);
  switch (t) {
    case HeaderTemplate::Body5:
    case HeaderTemplate::Body3: {
      // A thread's first message points at itself in the second number field.
      const int ref = m.reference > 0 ? m.reference : m.number;
      if (t == HeaderTemplate::Body5)
        std::snprintf(head, sizeof head, "%05d/%05d %s  ", m.number, ref, m.userId.c_str());
      else
        std::snprintf(head, sizeof head, "%03d/%03d   %s  ", m.number, ref, m.userId.c_str());
      out += head;
      out += m.author;
      out += "  ";
      out += m.subject;
      out += '\n';
      out += BodySecondLine(m);
      break;
    }
    case HeaderTemplate::Title5:
    case HeaderTemplate::Title3: {
      const bool wide = t == HeaderTemplate::Title5;
      char ref[8] = "";
      if (m.reference > 0) std::snprintf(ref, sizeof ref, "%*d", wide ? 5 : 3, m.reference);
      std::snprintf(head, sizeof head, " %*d %s %02d/%02d %2d:%02d %*s %3d ", wide ? 5 : 3, m.number, m.userId.c_str(),
                    m.when.month, m.when.day, m.when.hour, m.when.minute, wide ? 5 : 3, ref, ShownLines(m.bodyLines));
      out += head;
      out += m.subject;
      out += '\n';
      break;
    }
  }
  return out;
}

}  // namespace samplegen
