#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/text_reader.h"

namespace plat {
class TextWriter;
}

// The line window of a pass that reads a log piece by piece: six slots
// holding the piece consumed last, the current piece and the four after it,
// so that a two-line header is matched without reading anything twice and
// without copying a line. A piece is a line of at most 1023 bytes, or the
// next 1023 bytes of a longer one; only a piece that begins a physical line
// can begin a header, so a line is never cut between two outputs.
class LineWindow {
 public:
  static constexpr int kSlots = 6;
  static constexpr int kSlotSize = static_cast<int>(plat::TextReader::kMaxPiece) + 1;

  enum class MatchMode { OwnKind, AllKinds };
  struct HeaderMatch {
    int lines = 0;  // 0: not a header
    int number = 0;
    // A header of the other kind (all-kinds mode only). Word-sized: the result
    // of every line's match passes through the stack, where a byte-sized
    // member costs a stalled load per line.
    int mixed = 0;
  };

  // source is open and unread and must outlive the window; ownPair is the
  // first template of the log kind's own pair (OwnTemplatePair), -1 when the
  // kind has none. Fill() reads the first pieces.
  LineWindow(plat::TextReader& source, int ownPair) : source_(source), ownPair_(ownPair) {}
  LineWindow(const LineWindow&) = delete;
  LineWindow& operator=(const LineWindow&) = delete;

  void Fill();
  // Whether every piece has been consumed.
  bool Ended() const { return SlotEmpty(current_); }
  // The header the current piece begins, if any.
  HeaderMatch MatchHeader(MatchMode mode) const;
  // Consumes up to count pieces, writing each to output when one is given;
  // bytes grows by each piece's length and the CR text mode took away.
  void Advance(int count, std::uint64_t& bytes, plat::TextWriter* output);
  // The piece consumed last, line end included, when it began a line.
  std::optional<std::string_view> PieceBefore() const;
  // errno of a failed read: the window then ends as if at the end of the
  // input, and the pass has to fail instead of taking a cut-short file for
  // whole.
  int readError() const { return readError_; }

 private:
  bool MatchTemplate(int index, int slot, int& lines) const;  // index into kHeaderTemplates
  void ReadIntoSlot(int slot);
  static int PreviousSlot(int slot) { return slot == 0 ? kSlots - 1 : slot - 1; }
  static int NextSlot(int slot) { return slot == kSlots - 1 ? 0 : slot + 1; }
  bool SlotEmpty(int slot) const { return slotLength_[slot] == 0; }

  plat::TextReader& source_;
  const int ownPair_;
  char window_[kSlots][kSlotSize];
  int slotLength_[kSlots] = {};
  // Whether a slot's piece begins a physical line.
  bool lineStart_[kSlots] = {};
  bool lastPieceEndedLine_ = true;
  int current_ = 1;
  bool inputEnded_ = false;
  int readError_ = 0;
};

// The number of the line starting at offset, as the line window counts lines
// (a long line once per piece): a pass that jumps reads the file again up to
// it, only to name the line in a message. A failed read leaves *readError set.
long long PieceLineAt(plat::TextReader& source, std::uint64_t offset, int* readError);

// The line an end-of-text mark stands in, counted the same way: the last
// piece read when the mark cut a line short, the one after it otherwise.
// A failed read leaves *readError set and gives 0.
long long PieceLineOfEndMark(plat::TextReader& source, int* readError);
