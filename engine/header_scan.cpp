#include "engine/header_scan.h"

#include <algorithm>
#include <cstring>

#include "engine/compiled_templates.h"

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

}  // namespace

bool HeaderScan::MatchAt(int templateIndex, std::size_t start) const {
  const CompiledTemplate& tmpl = kCompiledTemplates[templateIndex];
  for (int l = 0; l < tmpl.lineCount; ++l) {
    if (l > 0) {
      // The next line of the header is a line of its own only when the line
      // before ended inside its first piece.
      const char* lf = OnePieceLineEnd(view_, start);
      if (!lf) return false;
      start = static_cast<std::size_t>(lf - view_.data()) + 1;
    }
    const TemplateLine& line = tmpl.lines[l];
    const std::size_t room = view_.size() - start;
    if (room < static_cast<std::size_t>(line.count)) return false;
    const unsigned char* text = reinterpret_cast<const unsigned char*>(view_.data() + start);
    // "." takes any byte but the line end. Every template line ends with a
    // digit, so a CR dropped before the LF is never one of its bytes. Most
    // candidates match, so all bytes are tested, in one sweep of fixed width
    // the compiler turns into vector code when that many bytes are held.
    unsigned char misfit = 0;
    if (room >= static_cast<std::size_t>(kTemplateWidth)) {
      for (int i = 0; i < kTemplateWidth; ++i) {
        const unsigned char b = text[i];
        misfit |= static_cast<unsigned char>(static_cast<unsigned char>(b - line.lo[i]) > line.span[i]) |
                  static_cast<unsigned char>((b == '\n') & line.inside[i]);
      }
    } else {
      for (int i = 0; i < line.count; ++i) misfit |= text[i] == '\n' || !FitsTemplate(line, i, text[i]);
    }
    if (misfit) return false;
  }
  return true;
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
    }
    if (!source_.Fill(cursor_ + 2 * kContext)) return Step::Failed;
  }
  view_ = source_.Unread();
  const bool ended = source_.Ended();
  // Away from the end of the input a candidate is looked at only with all
  // the bytes its match may need already read.
  const std::size_t limit = ended ? view_.size() : view_.size() > kContext ? view_.size() - kContext : 0;
  while (cursor_ < limit) {
    const void* slash = std::memchr(view_.data() + cursor_, '/', limit - cursor_);
    if (!slash) break;
    const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(slash) - view_.data());
    cursor_ = at + 1;
    // The loop over every template, with the ones not looked for left
    // out, unrolls into code with each template's column fixed.
    for (int t = 0; t < static_cast<int>(std::size(kCompiledTemplates)); ++t) {
      if (t < firstTemplate_ || t >= endTemplate_) continue;
      const std::size_t column = static_cast<std::size_t>(kCompiledTemplates[t].slashColumn);
      if (at < column) continue;
      const std::size_t start = at - column;
      if (!LineStartAt(start) || !MatchAt(t, start)) continue;
      header_.offset = viewOffset_ + start;
      header_.templateIndex = t;
      header_.lines = kCompiledTemplates[t].lineCount;
      header_.text = view_.data() + start;
      headerAt_ = start;
      return Step::Header;
    }
  }
  cursor_ = std::max(cursor_, limit);
  if (ended) return source_.error() != 0 ? Step::Failed : Step::End;
  readOn_ = true;
  return Step::Moved;
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
  if (const std::size_t lf = std::string_view(p + from, end - from).rfind('\n'); lf != std::string_view::npos) {
    start = from + lf + 1;
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
