#include "engine/line_window.h"

#include "engine/compiled_templates.h"
#include "platform/text_writer.h"

void LineWindow::ReadIntoSlot(int slot) {
  int length = 0;
  if (!inputEnded_) {
    length = source_.ReadLine(window_[slot]);
    if (length < 0) {
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

void LineWindow::Fill() {
  slotLength_[0] = 0;
  window_[0][0] = '\0';
  lineStart_[0] = false;
  for (int slot = 1; slot < kSlots; ++slot) ReadIntoSlot(slot);
  current_ = 1;
}

void LineWindow::Advance(int count, std::uint64_t& bytes, plat::TextWriter* output) {
  for (int i = 0; i < count && !SlotEmpty(current_); ++i) {
    const int length = slotLength_[current_];
    if (output) output->Write(window_[current_], static_cast<std::size_t>(length));
    // The slot before the current one held the piece consumed before; it now
    // takes the piece five ahead.
    ReadIntoSlot(PreviousSlot(current_));
    bytes += static_cast<std::uint64_t>(length) + 1;  // + the CR text mode took away
    current_ = NextSlot(current_);
  }
}

std::optional<std::string_view> LineWindow::PieceBefore() const {
  const int slot = PreviousSlot(current_);
  if (!lineStart_[slot]) return std::nullopt;
  return std::string_view(window_[slot], static_cast<std::size_t>(slotLength_[slot]));
}

bool LineWindow::MatchTemplate(int index, int slot, int& lines) const {
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

LineWindow::HeaderMatch LineWindow::MatchHeader(MatchMode mode) const {
  const int slot = current_;
  if (SlotEmpty(slot) || !lineStart_[slot]) return {};
  const unsigned char firstByte = static_cast<unsigned char>(window_[slot][0]);
  int first = 0;
  int end = static_cast<int>(kHeaderTemplates.size());
  if (mode == MatchMode::OwnKind) {
    if (ownPair_ < 0) return {};
    first = ownPair_;
    end = ownPair_ + 2;
  }
  for (int t = first; t < end; ++t) {
    // Most lines are message text and fail at their first byte here.
    if (!FitsTemplate(kCompiledTemplates[t].lines[0], 0, firstByte)) continue;
    int lines = 0;
    if (!MatchTemplate(t, slot, lines)) continue;
    const int pair = t < kFirstTitleTemplate ? kFirstBodyTemplate : kFirstTitleTemplate;
    if (mode == MatchMode::AllKinds && pair != ownPair_) return {lines, 0, 1};
    const int number = HeaderNumber(window_[slot]);
    if (number == 0) continue;  // 00000 is no message; the next template may still fit
    return {lines, number, 0};
  }
  return {};
}

long long PieceLineAt(plat::TextReader& source, std::uint64_t offset, int* readError) {
  if (!source.Rewind()) {
    *readError = source.error();
    return 0;
  }
  char piece[LineWindow::kSlotSize];
  long long before = 0;
  while (source.Offset() < offset) {
    const int length = source.ReadLine(piece);
    if (length <= 0) {
      if (length < 0) *readError = source.error();
      break;
    }
    ++before;
  }
  return before + 1;
}

long long PieceLineOfEndMark(plat::TextReader& source, int* readError) {
  if (!source.Rewind()) {
    *readError = source.error();
    return 0;
  }
  char piece[LineWindow::kSlotSize];
  long long pieces = 0;
  bool lastEndedLine = true;
  for (;;) {
    const int length = source.ReadLine(piece);
    if (length < 0) {
      *readError = source.error();
      return 0;
    }
    if (length == 0) break;
    ++pieces;
    lastEndedLine = piece[length - 1] == '\n';
  }
  return lastEndedLine ? pieces + 1 : pieces;
}
