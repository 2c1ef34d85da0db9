// The line window of a pass: six slots holding the line consumed last, the
// current line and the four after it, so that a two-line header is matched
// without reading anything twice and without copying a line.
#include "engine/compiled_templates.h"
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

bool CLogFile::MatchTemplate(int index, int slot, int& lines) const {
  const CompiledTemplate& tmpl = kCompiledTemplates[index];
  for (int l = 0; l < tmpl.lineCount; ++l) {
    // Each line of a header is a line of its own, never the rest of one.
    if (l > 0) slot = NextSlot(slot);
    if (SlotEmpty(slot) || !lineStart_[slot]) return false;
    const unsigned char* text = reinterpret_cast<const unsigned char*>(window_[slot]);
    int length = slotLength_[slot];
    if (text[length - 1] == '\n') --length;  // the line end is no character to match
    const TemplateLine& line = tmpl.lines[l];
    if (length < line.count) return false;
    for (int i = 0; i < line.count; ++i) {
      if (!FitsTemplate(line, i, text[i])) return false;
    }
  }
  lines = tmpl.lineCount;
  return true;
}

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
    // Most lines are message text and fail at their first byte here.
    if (!FitsTemplate(kCompiledTemplates[t].lines[0], 0, firstByte)) continue;
    int lines = 0;
    if (!MatchTemplate(t, slot, lines)) continue;
    const int pair = t < kFirstTitleTemplate ? kFirstBodyTemplate : kFirstTitleTemplate;
    if (mode == MatchMode::AllKinds && pair != own) return {lines, 0, 1};
    const int number = HeaderNumber(window_[slot]);
    if (number == 0) continue;  // 00000 is no message; the next template may still fit
    return {lines, number, 0};
  }
  return {};
}
