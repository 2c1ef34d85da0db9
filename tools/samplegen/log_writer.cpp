#include "tools/samplegen/log_writer.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/encoding.h"
#include "platform/file_ops.h"
#include "platform/text_writer.h"
#include "tools/samplegen/message_fields.h"
#include "tools/samplegen/number_sequence.h"
#include "tools/samplegen/prng.h"
#include "tools/samplegen/text_pool.h"

namespace samplegen {

namespace {

constexpr std::size_t kReaderPiece = 1023;  // the log reader's line piece, LF included
constexpr int kDefaultMeanLines = 6;
constexpr std::uint64_t kTextStream = 0x7E47;

// Counts what goes to disk while writing lines, so results need no stat and
// the reader's line numbers are known.
class LineSink {
 public:
  explicit LineSink(plat::TextWriter& out) : out_(out) {}

  // text is one or more whole lines, each ending in LF.
  void Lines(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t lf = text.find('\n', start);
      Count(lf - start);
      start = lf + 1;
    }
    out_.Write(text);
  }

  void Line(const std::string& text) {
    Count(text.size());
    out_.Write(text);
    out_.Write("\n", 1);
  }

  std::uint64_t bytes() const { return bytes_; }
  int readerLines() const { return readerLines_; }
  int longLines() const { return longLines_; }

 private:
  void Count(std::size_t len) {
    bytes_ += len + 2;
    const std::size_t pieces = (len + 1 + kReaderPiece - 1) / kReaderPiece;
    readerLines_ += static_cast<int>(pieces);
    if (pieces > 1) ++longLines_;
  }

  plat::TextWriter& out_;
  std::uint64_t bytes_ = 0;
  int readerLines_ = 0;
  int longLines_ = 0;
};

std::string FailText(const std::string& path, int err) { return path + ": " + std::strerror(err); }

// A file this run created and could not finish goes again, so a failed run
// leaves no half sample behind. One opened for replacing was the caller's
// to give up, and stays.
void DropUnfinished(const std::string& path, const LogOptions& o) {
  if (!o.replace) plat::DeleteFile(path);
}

// Enough text lines per message for the byte target to be met before the
// numbers run out, with a fifth of the numbers to spare.
int MeanLinesFor(std::uint64_t target, int budget) {
  const double perLine = TextPool::Get().meanBodyLine() + 2;
  const double header = 110;
  const double perMessageDefault = header + (kDefaultMeanLines + 1) * perLine;
  const double usable = budget * 0.8;
  if (static_cast<double>(target) / perMessageDefault <= usable) return kDefaultMeanLines;
  const double perMessage = static_cast<double>(target) / usable;
  return std::max(kDefaultMeanLines, static_cast<int>(std::ceil((perMessage - header) / perLine)) - 1);
}

// Long lines: the second message always has one (so even short samples do),
// later ones now and then. The first lengths probe the reader's piece edges.
std::size_t LongLineLength(Prng& rng, int& made) {
  static const std::size_t kEdges[] = {kReaderPiece, 2 * kReaderPiece, kReaderPiece + 1};
  if (made < 3) return kEdges[made++];
  ++made;
  return static_cast<std::size_t>(rng.Between(1100, 6000));
}

void WriteBodyText(LineSink& sink, const TextPool& pool, const LogOptions& o, const MessageFields& m,
                   HeaderTemplate titleLayout, bool carryMixed, int index, int& longMade, int* mixedLine) {
  Prng rng(DeriveSeed(o.seed, kTextStream, static_cast<std::uint64_t>(o.room), static_cast<std::uint64_t>(index)));
  const bool wantLong = o.longLines && (index == 1 || rng.OneIn(50));
  const int longAt = wantLong ? static_cast<int>(rng.Below(static_cast<std::uint32_t>(m.bodyLines))) : -1;
  const int mixedAtLine = carryMixed ? m.bodyLines / 2 : -1;
  for (int i = 0; i < m.bodyLines; ++i) {
    if (i == mixedAtLine) {
      // A title line pasted into the text: the host's two kinds of log mixed.
      *mixedLine = sink.readerLines() + 1;
      sink.Lines(FormatHeader(titleLayout, m));
    } else if (i == longAt) {
      sink.Line(pool.LongLine(rng, LongLineLength(rng, longMade)));
    } else if (i == 0 && m.reference > 0) {
      sink.Line(pool.QuoteLine(rng));
    } else {
      sink.Line(pool.BodyLine(rng));
    }
  }
  sink.Line(std::string());
}

}  // namespace

std::string CurrentLogHeaderLine(const std::string& forumName, int room, const std::string& roomName,
                                 const CivilTime& date) {
  std::string name = roomName;
  if (name.empty()) {
    static const std::string kRoomSuffix = plat::Utf8ToCp932("番会議室");
    name = std::to_string(room) + kRoomSuffix;
  }
  char tail[64];
  std::snprintf(tail, sizeof tail, " %02d/%02d/%02d -", date.year % 100, date.month, date.day);
  char head[32];
  std::snprintf(head, sizeof head, "  MES(%2d):", room);
  return "- " + forumName + head + name + tail;
}

LogResult WriteLogFile(const std::string& path, const LogOptions& o) {
  LogResult r;
  const bool body = o.kind == LogKind::Body;
  const HeaderTemplate layout = o.layout ? *o.layout : (body ? HeaderTemplate::Body5 : HeaderTemplate::Title5);
  if (IsBodyTemplate(layout) != body) {
    r.error = "the header layout does not fit the kind of log";
    return r;
  }
  const int top = std::min(o.maxNumber, MaxNumberOf(layout));
  if (o.first < 1 || o.first > top) {
    r.error = "the first message number must lie in 1 to " + std::to_string(top);
    return r;
  }
  const int budget = top - o.first + 1;
  if (o.targetBytes == 0 && (o.messages < 0 || o.messages > budget)) {
    r.error = "messages " + std::to_string(o.first) + " to " + std::to_string(o.first + o.messages - 1) +
              " do not fit below " + std::to_string(top);
    return r;
  }
  const int limit = o.targetBytes ? budget : o.messages;
  const int meanLines = o.meanLines > 0         ? o.meanLines
                        : body && o.targetBytes ? MeanLinesFor(o.targetBytes, budget)
                                                : kDefaultMeanLines;
  const CivilTime start = o.start ? *o.start : DefaultStart(o.seed, o.room);

  plat::TextWriter out;
  if (!out.Open(path, o.replace ? plat::TextWriter::Mode::Truncate : plat::TextWriter::Mode::CreateNew)) {
    r.error = FailText(path, out.error());
    return r;
  }
  LineSink sink(out);
  const TextPool& pool = TextPool::Get();
  if (body && o.forumHeader) {
    r.forumHeaderLine =
        o.forumHeaderLine.empty() ? CurrentLogHeaderLine(o.forumName, o.room, o.roomName, start) : o.forumHeaderLine;
    sink.Line(r.forumHeaderLine);
  }

  const int mixedAt = std::clamp(o.mixedAt, 0, std::max(0, limit - 1));
  NumberSequence numbers(o.seed, o.room, o.first, limit, o.shuffle);
  MessageKey key;
  key.seed = o.seed;
  key.room = o.room;
  key.first = o.first;
  key.meanLines = meanLines;
  key.start = start;
  int longMade = 0;
  r.lowest = 65536 * 2;
  while (!numbers.Done()) {
    if (o.targetBytes && sink.bytes() >= o.targetBytes && numbers.AtBlockEnd()) break;
    key.number = numbers.Next();
    const MessageFields m = MakeMessageFields(key);
    sink.Lines(FormatHeader(layout, m));
    if (body)
      WriteBodyText(sink, pool, o, m, TitleTemplateFor(layout), o.mixed && key.index == mixedAt, key.index, longMade,
                    &r.mixedLine);
    r.lowest = std::min(r.lowest, m.number);
    r.highest = std::max(r.highest, m.number);
    r.lastTime = m.when;
    ++key.index;
  }
  if (!out.Close()) {
    r.error = FailText(path, out.error());
    DropUnfinished(path, o);
    return r;
  }
  r.messages = key.index;
  if (r.messages == 0) r.lowest = 0;
  r.meanLines = meanLines;
  r.bytes = sink.bytes();
  r.readerLines = sink.readerLines();
  r.longLines = sink.longLines();
  if (o.setFileTime) {
    const CivilTime stamp = r.messages ? r.lastTime : start;
    const std::time_t t = ToLocalTime(stamp);
    int err = 0;
    if (!plat::SetFileTime(path, t, &err)) {
      r.error = FailText(path, err);
      DropUnfinished(path, o);
      return r;
    }
    r.mtime = t;
  }
  r.ok = true;
  return r;
}

}  // namespace samplegen
