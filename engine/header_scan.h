#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/text_reader.h"

// Finds the header lines of a log without walking it line by line. Every
// template's first line holds a "/" at a fixed column, and message text
// holds few, so the scan jumps from one "/" to the next and matches a
// template only where its column puts a line start. What it finds is what
// the line window finds reading the same file piece by piece: a header
// begins a physical line, the first line of a two-line header fits one
// piece, and no template byte is a line end.
class HeaderScan {
 public:
  enum class Step {
    Header,  // a line start where a template matches: see header()
    Moved,   // no header in the rest of what is held: the bytes before
             // settled() may be taken now, the next step reads on
    End,     // the end of the input
    Failed,  // a read error: the source's error() tells which
  };
  struct Header {
    std::uint64_t offset = 0;  // file offset of its first line
    int templateIndex = 0;     // index into kHeaderTemplates
    int lines = 0;
    const char* text = nullptr;  // its first line, raw; valid until the next step
  };

  // source is open and unread; it must outlive the scan. Only the templates
  // from firstTemplate up to (not including) endTemplate are looked for:
  // either all of them (an analysis) or the pair of one kind (a split).
  // The scan looks for the end-of-text mark itself, in the same search as
  // for the "/" (LeaveEndMarkToScan): the source is given back searching
  // for it again.
  HeaderScan(plat::TextReader& source, int firstTemplate, int endTemplate)
      : source_(source), firstTemplate_(firstTemplate), endTemplate_(endTemplate) {
    source_.LeaveEndMarkToScan();
  }
  ~HeaderScan() { source_.SearchEndMark(); }
  HeaderScan(const HeaderScan&) = delete;
  HeaderScan& operator=(const HeaderScan&) = delete;

  Step Next();
  const Header& header() const { return header_; }
  // The line before the last header found, as the line window would hold
  // it: without its line end, and only when it is a line of one piece.
  std::optional<std::string_view> LineBefore() const;
  // Whether the last header found follows the header before it directly:
  // the line before it is then that header's last line, which begins with
  // a template's first byte, never with "-". In a title log every header
  // does, and this tells it without looking for where that line begins.
  bool FollowsHeader() const;
  // File offset up to which the input has been looked through.
  std::uint64_t offset() const { return viewOffset_ + cursor_; }
  // File offset before which every header has been found: what lies before
  // it is let go at the next step, so a reader of the bytes takes it now.
  std::uint64_t settled() const { return viewOffset_ + (cursor_ > kContext ? cursor_ - kContext : 0); }
  // The bytes between two file offsets, both among the bytes held: from the
  // last settled() (or a header's offset) on.
  std::string_view Bytes(std::uint64_t from, std::uint64_t to) const {
    return view_.substr(static_cast<std::size_t>(from - viewOffset_), static_cast<std::size_t>(to - from));
  }
  // File offset of the end of the bytes held; after Step::End, of the input.
  std::uint64_t heldEnd() const { return viewOffset_ + view_.size(); }

 private:
  // Bytes kept before the cursor and looked at beyond a candidate: a line of
  // one piece with its line end, the next line's template, and the column
  // of the "/".
  static constexpr std::size_t kContext = 2048;

  // The search from the cursor up to limit for a header of the templates
  // First .. End - 1, with every column fixed at compile time.
  template <int First, int End>
  bool Find(std::size_t limit);
  // Whether template T matches at the line start start; then *tail is the
  // view index just past its last line's own bytes.
  template <int T>
  bool MatchAt(std::size_t start, std::size_t* tail) const;
  // Searches the view up to index to for the end-of-text mark, which the
  // reader leaves to the scan; at one, the input ends there. False when that
  // part had been searched before.
  bool CheckForMarkUpTo(std::size_t to) {
    if (to <= markChecked_ || markChecked_ >= view_.size()) return false;
    SearchForMark(to);
    return true;
  }
  void SearchForMark(std::size_t to);
  bool LineStartAt(std::size_t at) const { return at > 0 ? view_[at - 1] == '\n' : viewOffset_ == 0; }

  plat::TextReader& source_;
  const int firstTemplate_;
  const int endTemplate_;
  std::string_view view_;
  std::uint64_t viewOffset_ = 0;  // file offset of view_[0]
  std::size_t cursor_ = 0;        // view index the search goes on from
  std::size_t markChecked_ = 0;   // view index up to which no end-of-text mark lies
  static constexpr std::size_t kMarkStretch = 16 * 1024;
  // The "/" are found a block of bytes at a time: the block from view index
  // block_ up to blockEnd_, and the bits of its "/" not yet looked at.
  static constexpr std::size_t kBlock = 64;
  std::size_t block_ = 0;
  std::size_t blockEnd_ = 0;
  std::uint64_t slashes_ = 0;
  bool dense_ = true;  // the last "/" was near the one before: blocks, not the C library
  Header header_;
  std::size_t headerAt_ = 0;  // view index of the last header found
  // File offsets just past the own bytes of the last header found and of
  // the one before it (none while there is none). A header's own bytes hold
  // no line end.
  std::uint64_t lastTail_ = 0;
  std::uint64_t previousTail_ = 0;
  int found_ = 0;        // headers found, counted up to two
  bool readOn_ = false;  // the next step first lets go of the settled bytes and reads on
};
