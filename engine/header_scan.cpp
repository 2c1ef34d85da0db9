#include "engine/header_scan.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "engine/compiled_templates.h"
#include "engine/last_byte.h"

namespace {

// A physical line becomes one piece when it holds at most this many bytes
// besides its line end (the piece then ends with its LF).
constexpr std::size_t kOnePieceLine = plat::TextReader::kMaxPiece - 1;

// Where the LF of the line starting at start is, looked for only as far as
// a line of one piece reaches, and whether the line is one piece.
const char* OnePieceLineEnd(std::string_view view, std::size_t start) {
  const std::size_t room = view.size() - start;
  const std::size_t reach = kOnePieceLine + 2;  // its CR and LF
  const void* lf = std::memchr(view.data() + start, '\n', room < reach ? room : reach);
  if (!lf) return nullptr;
  const char* end = static_cast<const char*>(lf);
  std::size_t length = static_cast<std::size_t>(end - (view.data() + start));
  if (length > 0 && end[-1] == '\r') --length;  // text mode drops the CR of CR LF
  return length <= kOnePieceLine ? end : nullptr;
}

// The test of a candidate and the search for the next one are the whole of
// the scan's work on a title log, once per line: kept in one piece.
#if defined(__GNUC__)
#define KIV_SCAN_INLINE inline __attribute__((always_inline))
#elif defined(_MSC_VER)
#define KIV_SCAN_INLINE __forceinline
#else
#define KIV_SCAN_INLINE inline
#endif

// Whether the bytes at text fit a template line, room bytes being held from
// text on (at least the line's own). "." takes any byte but the line end.
// Every template line ends with a digit, so a CR dropped before the LF is
// never one of its bytes. Most candidates match, so all bytes are tested, a
// row of sixteen at a time where that many are held.
template <int Rows>
KIV_SCAN_INLINE bool LineFits(const TemplateLine& line, const unsigned char* text, std::size_t room) {
#ifdef __SSE2__
  if (room >= static_cast<std::size_t>(Rows) * 16) {
    const __m128i lf = _mm_set1_epi8('\n');
    __m128i fits = _mm_set1_epi8(-1);
    for (int r = 0; r < Rows; ++r) {
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * r));
      const __m128i lo = _mm_load_si128(reinterpret_cast<const __m128i*>(line.lo + 16 * r));
      const __m128i span = _mm_load_si128(reinterpret_cast<const __m128i*>(line.span + 16 * r));
      const __m128i inside = _mm_load_si128(reinterpret_cast<const __m128i*>(line.inside + 16 * r));
      // b - lo <= span, as unsigned bytes: the smaller of the two is b - lo.
      const __m128i offset = _mm_sub_epi8(b, lo);
      const __m128i inRange = _mm_cmpeq_epi8(_mm_min_epu8(offset, span), offset);
      const __m128i lineEnd = _mm_and_si128(_mm_cmpeq_epi8(b, lf), inside);
      fits = _mm_and_si128(fits, _mm_andnot_si128(lineEnd, inRange));
    }
    return _mm_movemask_epi8(fits) == 0xFFFF;
  }
#else
  (void)room;
#endif
  for (int i = 0; i < line.count; ++i) {
    if (text[i] == '\n' || !FitsTemplate(line, i, text[i])) return false;
  }
  return true;
}

// Bit i set where p[i] is a "/", for the n <= 64 bytes held from p, below
// within. A title log has a "/" every line: finding them a block at a time,
// rather than each from where the last header ended, keeps the work on one
// line from waiting for the line before.
std::uint64_t SlashesIn(const char* p, std::size_t n, std::size_t within) {
  std::uint64_t found = 0;
#ifdef __SSE2__
  if (n == 64) {
    const __m128i slash = _mm_set1_epi8('/');
    for (int r = 0; r < 4; ++r) {
      const __m128i row = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * r));
      found |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(row, slash))))
               << (16 * r);
    }
  } else
#endif
  {
    for (std::size_t i = 0; i < n; ++i) found |= static_cast<std::uint64_t>(p[i] == '/') << i;
  }
  return within < 64 ? found & ((std::uint64_t{1} << within) - 1) : found;
}

constexpr int RowsOf(const TemplateLine& line) { return (line.count + 15) / 16; }

// Whether the bytes of p from from up to end hold no LF. A title line's text
// after its header bytes is a few dozen bytes at most: where 32 bytes are
// held before end, two rows of sixteen tell without a call.
bool NoLineEndBetween(const char* p, std::size_t from, std::size_t end) {
  const std::size_t n = end - from;
#ifdef __SSE2__
  if (n <= 32 && end >= 32) {
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + end - 32));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + end - 16));
    // Bit i stands for the byte at end - 32 + i.
    const std::uint32_t ends = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(low, lf))) |
                               static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(high, lf))) << 16;
    return n == 0 || (ends >> (32 - n)) == 0;
  }
#endif
  return !std::memchr(p + from, '\n', n);
}

}  // namespace

template <int T>
KIV_SCAN_INLINE bool HeaderScan::MatchAt(std::size_t start, std::size_t* tail) const {
  constexpr const CompiledTemplate& tmpl = kCompiledTemplates[T];
  static_assert(tmpl.lineCount <= 2 && RowsOf(tmpl.lines[0]) * 16 <= kTemplateWidth &&
                RowsOf(tmpl.lines[1]) * 16 <= kTemplateWidth);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(view_.data());
  if (view_.size() - start < static_cast<std::size_t>(tmpl.lines[0].count) ||
      !LineFits<RowsOf(tmpl.lines[0])>(tmpl.lines[0], bytes + start, view_.size() - start)) {
    return false;
  }
  if constexpr (tmpl.lineCount == 2) {
    // The next line of the header is a line of its own only when the line
    // before ended inside its first piece.
    const char* lf = OnePieceLineEnd(view_, start);
    if (!lf) return false;
    start = static_cast<std::size_t>(lf - view_.data()) + 1;
    if (view_.size() - start < static_cast<std::size_t>(tmpl.lines[1].count) ||
        !LineFits<RowsOf(tmpl.lines[1])>(tmpl.lines[1], bytes + start, view_.size() - start)) {
      return false;
    }
  }
  *tail = start + static_cast<std::size_t>(tmpl.lines[tmpl.lineCount - 1].count);
  return true;
}

template <int First, int End>
bool HeaderScan::Find(std::size_t limit) {
  // One template at the "/" just found: true when it is a header there.
  const auto matches = [this]<int T>(std::size_t at) {
    constexpr std::size_t column = static_cast<std::size_t>(kCompiledTemplates[T].slashColumn);
    if (at < column) return false;
    const std::size_t start = at - column;
    std::size_t tail = 0;
    if (!LineStartAt(start) || !MatchAt<T>(start, &tail)) return false;
    header_.offset = viewOffset_ + start;
    header_.templateIndex = T;
    header_.lines = kCompiledTemplates[T].lineCount;
    header_.text = view_.data() + start;
    headerAt_ = start;
    previousTail_ = lastTail_;
    lastTail_ = viewOffset_ + tail;
    found_ += found_ < 2;
    // No "/" among the header's own bytes begins another header
    // (NoHeaderInsideAnother): the search goes on after them.
    cursor_ = tail;
    return true;
  };
  for (;;) {
    if (slashes_ == 0) {
      // The next block: the one after this, or where the cursor has got to.
      std::size_t next = std::max(blockEnd_, cursor_);
      if (next >= limit) {
        // Everything up to limit is looked through: up to there for the
        // end-of-text mark too.
        CheckForMarkUpTo(limit);
        return false;
      }
      if (dense_) {
        // What a match at a "/" of this block may look at is first searched
        // for the end-of-text mark, so that it sees the input as the reader
        // would have handed it out.
        if (CheckForMarkUpTo(next + kBlock + kContext)) {
          limit = std::min(limit, view_.size());  // the input may have ended at a mark
          if (next >= limit) continue;
        }
        slashes_ = SlashesIn(view_.data() + next, std::min(kBlock, view_.size() - next), limit - next);
        block_ = next;
        blockEnd_ = next + kBlock;
        dense_ = slashes_ != 0;
        continue;
      }
      // Text without a "/" for a while, as in a body log: the C library's
      // search crosses it faster. Where the next one is near, the blocks
      // take over again.
      const void* slash = std::memchr(view_.data() + next, '/', limit - next);
      if (!slash) {
        CheckForMarkUpTo(limit);
        return false;
      }
      if (CheckForMarkUpTo(static_cast<std::size_t>(static_cast<const char*>(slash) - view_.data()) + kContext)) {
        limit = std::min(limit, view_.size());
        if (slash >= view_.data() + limit) continue;  // past the end-of-text mark
      }
      block_ = static_cast<std::size_t>(static_cast<const char*>(slash) - view_.data());
      blockEnd_ = block_ + 1;
      slashes_ = 1;
      dense_ = block_ - next < kBlock;
    }
    const std::size_t at = block_ + static_cast<std::size_t>(std::countr_zero(slashes_));
    slashes_ &= slashes_ - 1;
    if (at < cursor_) continue;  // among a header's own bytes
    cursor_ = at + 1;
    // The templates in order, the first that matches decides.
    const bool found = [&]<int... I>(std::integer_sequence<int, I...>) {
      return (matches.template operator()<First + I>(at) || ...);
    }
    (std::make_integer_sequence<int, End - First>{});
    if (found) return true;
  }
}

HeaderScan::Step HeaderScan::Next() {
  if (readOn_) {
    readOn_ = false;
    // Let go of the settled bytes, keeping what a later candidate may look
    // back at, and read on.
    if (cursor_ > kContext) {
      const std::size_t drop = cursor_ - kContext;
      source_.Skip(drop);
      viewOffset_ += drop;
      cursor_ -= drop;
      markChecked_ = markChecked_ > drop ? markChecked_ - drop : 0;
    }
    if (!source_.Fill(cursor_ + 2 * kContext)) return Step::Failed;
    blockEnd_ = 0;  // the view has moved
    slashes_ = 0;
  }
  view_ = source_.Unread();
  for (;;) {
    const bool ended = source_.Ended();
    // Away from the end of the input a candidate is looked at only with all
    // the bytes its match may need already read.
    const std::size_t limit = ended ? view_.size() : view_.size() > kContext ? view_.size() - kContext : 0;
    constexpr int kAll = static_cast<int>(std::size(kCompiledTemplates));
    static_assert(kAll == 4 && kFirstBodyTemplate == 0 && kFirstTitleTemplate == 2);
    bool found = false;
    if (firstTemplate_ == 0 && endTemplate_ == kAll) {
      found = Find<0, kAll>(limit);
    } else if (firstTemplate_ == kFirstBodyTemplate && endTemplate_ == kFirstTitleTemplate) {
      found = Find<kFirstBodyTemplate, kFirstTitleTemplate>(limit);
    } else if (firstTemplate_ == kFirstTitleTemplate && endTemplate_ == kAll) {
      found = Find<kFirstTitleTemplate, kAll>(limit);
    } else {
      assert(!"a scan looks for all templates or one kind's pair");
    }
    if (found) return Step::Header;
    // The search met the end-of-text mark: the input ends there, and the
    // bytes up to it are looked through as the end of the input.
    if (!ended && source_.Ended()) continue;
    cursor_ = std::max(cursor_, limit);
    if (ended) return source_.error() != 0 ? Step::Failed : Step::End;
    readOn_ = true;
    return Step::Moved;
  }
}

void HeaderScan::SearchForMark(std::size_t to) {
  // A stretch at a time, well ahead of the search for the "/": it is then
  // still in the nearest cache when that search gets there, and each byte
  // of a big log is fetched from memory once.
  while (markChecked_ < to && markChecked_ < view_.size()) {
    const std::size_t from = markChecked_;
    const std::size_t end = std::min(view_.size(), std::max(to, from + kMarkStretch));
    if (const void* mark = std::memchr(view_.data() + from, 0x1A, end - from)) {
      const auto at = static_cast<std::size_t>(static_cast<const char*>(mark) - view_.data());
      source_.EndAt(viewOffset_ + at);
      view_ = source_.Unread();
    }
    markChecked_ = end;
  }
}

bool HeaderScan::FollowsHeader() const {
  // The line before ends with the LF at headerAt_ - 1; it is the last line
  // of the header before when no LF lies between that header's bytes and it.
  if (found_ < 2 || previousTail_ < viewOffset_) return false;
  const std::size_t tail = static_cast<std::size_t>(previousTail_ - viewOffset_);
  const std::size_t end = headerAt_ - 1;
  return tail <= end && NoLineEndBetween(view_.data(), tail, end);
}

std::optional<std::string_view> HeaderScan::LineBefore() const {
  if (headerAt_ == 0) return std::nullopt;  // the first line of the file
  // The line before ends with the LF at headerAt_ - 1. It is one piece only
  // if it starts within a piece's reach (its bytes and a CR) before that.
  const char* p = view_.data();
  const std::size_t end = headerAt_ - 1;
  const std::size_t reach = kOnePieceLine + 1;
  const std::size_t from = end > reach ? end - reach : 0;
  std::size_t start;
  if (const char* lf = lastbyte::Find(p + from, end - from, '\n')) {
    start = static_cast<std::size_t>(lf - p) + 1;
  } else if (from == 0 && viewOffset_ == 0) {
    start = 0;
  } else if (from > 0 && p[from - 1] == '\n') {
    start = from;
  } else {
    return std::nullopt;
  }
  std::size_t length = end - start;
  if (length > 0 && p[end - 1] == '\r') --length;
  if (length > kOnePieceLine) return std::nullopt;
  return std::string_view(p + start, length);
}
