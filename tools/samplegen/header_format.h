#pragma once
#include <string>

#include "tools/samplegen/civil_time.h"

namespace samplegen {

// The four header layouts the host writes, numbered as the log reader tries
// them. Body headers take two lines, title headers one.
enum class HeaderTemplate {
  Body5 = 1,   // "99999/99999 ZZZ99999!(.9)   99/99/99 .9:99"
  Body3 = 2,   // "999/999   ZZZ99999!(.9)   99/99/99 .9:99"
  Title5 = 3,  // " ....9 ZZZ99999 99/99 .9:99 ..... ..9"
  Title3 = 4,  // " ..9 ZZZ99999 99/99 .9:99 ... ..9"
};

inline bool IsBodyTemplate(HeaderTemplate t) { return t == HeaderTemplate::Body5 || t == HeaderTemplate::Body3; }

// The largest message number the template's number columns can show.
inline int MaxNumberOf(HeaderTemplate t) {
  return t == HeaderTemplate::Body5 || t == HeaderTemplate::Title5 ? 99999 : 999;
}

// The title layout a room's title log uses beside a body layout, and back.
HeaderTemplate TitleTemplateFor(HeaderTemplate body);
HeaderTemplate BodyTemplateFor(HeaderTemplate title);

// What a header says about one message. Texts are CP932 bytes.
struct MessageFields {
  int number = 1;
  int reference = 0;   // the message this one answers; 0 when it opens a thread
  std::string userId;  // three capitals and five digits, "ABC12345"
  std::string author;  // free text after the identifier
  std::string subject;
  CivilTime when;
  int bodyLines = 0;  // lines of text below the header; shown as at most 99
};

// The header of one message in the given layout: one line for a title
// template, two for a body template, each ending in LF. The caller keeps the
// number within MaxNumberOf(t) and above 0.
std::string FormatHeader(HeaderTemplate t, const MessageFields& m);

}  // namespace samplegen
