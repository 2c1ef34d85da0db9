// The line window of a pass: six slots holding the line consumed last, the
// current line and the four after it, so that a two-line header is matched
// without reading anything twice and without copying a line.
#include "engine/header_templates.h"
#include "engine/log_file.h"
#include "platform/text_writer.h"

void CLogFile::ReadIntoSlot(int slot) {
  int length = 0;
  if (!inputEnded_) {
    length = source_.ReadLine(window_[slot]);
    if (length < 0) {
      // The pass ends here as if at the end of the input; the operation sees
      // readError_ and fails instead of taking a cut-short file for whole.
      readError_ = source_.error();
      length = 0;
    }
    if (length == 0) inputEnded_ = true;
  }
  if (length == 0) window_[slot][0] = '\0';
  slotLength_[slot] = length;
  lineStart_[slot] = length > 0 && lastPieceEndedLine_;
  if (length > 0) lastPieceEndedLine_ = window_[slot][length - 1] == '\n';
}

int CLogFile::FillWindow() {
  slotLength_[0] = 0;
  window_[0][0] = '\0';
  lineStart_[0] = false;
  for (int slot = 1; slot < kSlots; ++slot) ReadIntoSlot(slot);
  current_ = 1;
  return 0;
}

int CLogFile::Advance(int count, std::uint64_t& bytes, plat::TextWriter* output) {
  int last = PreviousSlot(current_);
  for (int i = 0; i < count && !SlotEmpty(current_); ++i) {
    const int length = slotLength_[current_];
    if (output) output->Write(window_[current_], static_cast<std::size_t>(length));
    // The slot before the current one held the line consumed before; it now
    // takes the line five ahead.
    ReadIntoSlot(PreviousSlot(current_));
    bytes += static_cast<std::uint64_t>(length) + 1;  // + the CR text mode took away
    last = current_;
    current_ = NextSlot(current_);
  }
  return last;
}

bool CLogFile::MatchTemplate(const char* tmpl, int slot, int& lines) const {
  if (SlotEmpty(slot) || !lineStart_[slot]) return false;
  const unsigned char* text = reinterpret_cast<const unsigned char*>(window_[slot]);
  int length = slotLength_[slot];
  if (text[length - 1] == '\n') --length;  // the line end is no character to match
  int pos = 0;
  lines = 1;
  for (const char* t = tmpl; *t; ++t) {
    const char c = *t;
    if (c == '!') {
      // The next line must be a line of its own, not the rest of this one.
      slot = NextSlot(slot);
      if (SlotEmpty(slot) || !lineStart_[slot]) return false;
      text = reinterpret_cast<const unsigned char*>(window_[slot]);
      length = slotLength_[slot];
      if (text[length - 1] == '\n') --length;
      pos = 0;
      ++lines;
      continue;
    }
    if (pos >= length) return false;
    const unsigned char b = text[pos++];
    switch (c) {
      case '9':
        if (b < '0' || b > '9') return false;
        break;
      case 'Z':
        if (b < 'A' || b > 'Z') return false;
        break;
      case '.':
        break;
      default:
        if (b != static_cast<unsigned char>(c)) return false;
        break;
    }
  }
  return true;
}

namespace {

// Whether a line's first byte can begin a text of the template: most lines
// of a log are message text and fail here, before any template is walked.
bool FirstByteFits(char tmpl, unsigned char b) {
  switch (tmpl) {
    case '9': return b >= '0' && b <= '9';
    case 'Z': return b >= 'A' && b <= 'Z';
    case '.':
    case '!': return true;
    default: return b == static_cast<unsigned char>(tmpl);
  }
}

}  // namespace

CLogFile::HeaderMatch CLogFile::MatchHeader(int slot, MatchMode mode) const {
  if (SlotEmpty(slot) || !lineStart_[slot]) return {};
  const unsigned char firstByte = static_cast<unsigned char>(window_[slot][0]);
  const int own = OwnTemplatePair(entry_->kind);
  int first = 0;
  int end = static_cast<int>(kHeaderTemplates.size());
  if (mode == MatchMode::OwnKind) {
    if (own < 0) return {};
    first = own;
    end = own + 2;
  }
  for (int t = first; t < end; ++t) {
    const char* tmpl = kHeaderTemplates[static_cast<std::size_t>(t)];
    if (!FirstByteFits(tmpl[0], firstByte)) continue;
    int lines = 0;
    if (!MatchTemplate(tmpl, slot, lines)) continue;
    const int pair = t < kFirstTitleTemplate ? kFirstBodyTemplate : kFirstTitleTemplate;
    if (mode == MatchMode::AllKinds && pair != own) return {lines, 0, 1};
    const int number = HeaderNumber(window_[slot]);
    if (number == 0) continue;  // 00000 is no message; the next template may still fit
    return {lines, number, 0};
  }
  return {};
}
