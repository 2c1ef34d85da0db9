#include "platform/text_reader.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "platform/fault_injection.h"
#include "platform/file_error.h"
#include "platform/native_file.h"

namespace plat {

TextReader::~TextReader() {
  // The read under way ends before its file does.
  ahead_.Stop();
  if (fd_ >= 0) ::close(fd_);
}

bool TextReader::Open(const std::string& path) {
  if (fd_ >= 0) return false;  // one file at a time; the open one is left as it is
  path_ = path;
  if (int e = detail::InjectedError(FileOp::Open, path.c_str())) {
    error_ = e;
    return false;
  }
  int fd = -1;
  if (int e = detail::OpenFileForReading(path, &fd, &opened_)) {
    error_ = e;
    return false;
  }
  fd_ = fd;
  error_ = 0;
  ended_ = failed_ = false;
  endMark_ = -1;
  slots_[0].Allocate(kSlotSize);
  buf_ = slots_[0].get();
  pos_ = end_ = kHead;
  readAheadTried_ = false;
  scanFindsMark_ = false;
  consumed_ = 0;
  return true;
}

bool TextReader::Fill(std::size_t want) {
  if (fd_ < 0) return false;
  if (want > kBufferSize) want = kBufferSize;
  while (!ended_ && end_ - pos_ < want) {
    if (!Refill()) break;
  }
  return !failed_;
}

void TextReader::Skip(std::size_t n) {
  if (n > end_ - pos_) n = end_ - pos_;
  pos_ += n;
  consumed_ += n;
}

bool TextReader::Rewind() {
  if (fd_ < 0) return false;
  ahead_.Stop();  // the file's position is this thread's again
  readAheadTried_ = false;
  scanFindsMark_ = false;
  if (::lseek(fd_, 0, SEEK_SET) != 0) {
    error_ = errno;
    return false;
  }
  error_ = 0;
  ended_ = failed_ = false;
  endMark_ = -1;
  pos_ = end_ = kHead;
  consumed_ = 0;
  return true;
}

bool TextReader::Refill() {
  if (ended_ || fd_ < 0) return false;
  return ahead_.Running() ? TakeBlockAhead() : ReadHere();
}

bool TextReader::ReadHere() {
  // The unread bytes go just before the head, the read fills the buffer
  // from there: every read is of kBufferSize bytes, wherever the pass
  // stands, so that the Nth read of a log covers the same bytes whether or
  // not it was read ahead.
  MoveUnreadToHead();
  for (;;) {
    if (int e = detail::InjectedError(FileOp::Read, path_.c_str())) {
      errno = e;
    } else {
      ssize_t n = ::read(fd_, buf_ + kHead, kBufferSize);
      if (n > 0) {
        TakeInBlock(static_cast<std::size_t>(n));
        // A full read tells a big log: from here on its next block is read
        // while this one is scanned. A room's usual log of a few KiB never
        // starts a thread; a log whose thread was given up is read here.
        if (!ended_ && end_ == kSlotSize && !readAheadTried_) StartReadingAhead();
        return true;
      }
      if (n == 0) {
        ended_ = true;
        return false;
      }
      if (errno == EINTR) continue;
    }
    error_ = errno;
    ended_ = failed_ = true;
    return false;
  }
}

void TextReader::TakeInBlock(std::size_t n) {
  end_ = kHead + n;
  if (scanFindsMark_) return;
  if (const void* mark = std::memchr(buf_ + kHead, 0x1A, n)) EndAtByte(static_cast<const char*>(mark));
}

void TextReader::EndAtByte(const char* mark) {
  // Nothing after the end-of-text mark is ever handed out: the input simply
  // stops there, and nothing after it is asked for.
  end_ = static_cast<std::size_t>(mark - buf_);
  endMark_ = static_cast<std::int64_t>(consumed_ + (end_ - pos_));
  ended_ = true;
}

void TextReader::EndAt(std::uint64_t offset) {
  if (offset < consumed_ || offset - consumed_ >= end_ - pos_) return;  // not among the unread bytes
  EndAtByte(buf_ + pos_ + static_cast<std::size_t>(offset - consumed_));
}

void TextReader::SearchEndMark() {
  if (!scanFindsMark_) return;
  scanFindsMark_ = false;
  if (endMark_ >= 0 || pos_ == end_) return;
  if (const void* mark = std::memchr(buf_ + pos_, 0x1A, end_ - pos_)) EndAtByte(static_cast<const char*>(mark));
}

void TextReader::MoveUnreadToHead() {
  const std::size_t unread = end_ - pos_;
  std::memmove(buf_ + kHead - unread, buf_ + pos_, unread);
  pos_ = kHead - unread;
  end_ = kHead;
}

char* TextReader::OtherBuffer() const { return buf_ == slots_[0].get() ? slots_[1].get() : slots_[0].get(); }

void TextReader::StartReadingAhead() {
  readAheadTried_ = true;
  for (PageBuffer& slot : slots_) {
    if (!slot) slot.Allocate(kSlotSize);
  }
  ahead_.Start(fd_, OtherBuffer() + kHead, kBufferSize);
}

bool TextReader::TakeBlockAhead() {
  // A block taken counts as one read for the fault injection, asked here on
  // the pass's own thread and in its order, so that failing the Nth read of
  // a log fails at the same place every run; what came before is handed
  // out first, as with a read that fails.
  if (int e = detail::InjectedError(FileOp::Read, path_.c_str())) {
    error_ = e;
    ended_ = failed_ = true;
    return false;
  }
  // A block the pass reads for itself goes into this buffer, after the
  // unread bytes, as without the thread: the buffer stays in the cache.
  const bool here = !ahead_.Posted();
  if (here) MoveUnreadToHead();
  const ReadAhead::Block block = ahead_.Take(here ? buf_ + kHead : nullptr);
  if (block.error != 0) {
    error_ = block.error;
    ended_ = failed_ = true;
    return false;
  }
  if (block.size == 0) {
    ended_ = true;
    return false;
  }
  if (!here) {
    // The unread bytes (fewer than kHead: a Fill asks for at most
    // kBufferSize) go just before the block, which is then scanned in place
    // while the buffer left behind takes the next block.
    const std::size_t unread = end_ - pos_;
    std::memcpy(block.data - unread, buf_ + pos_, unread);
    buf_ = block.data - kHead;
    pos_ = kHead - unread;
  }
  TakeInBlock(block.size);
  if (!ended_ && ahead_.Running()) ahead_.Request(OtherBuffer() + kHead);
  return true;
}

void TextReader::FreeBuffers() {
  buf_ = nullptr;
  pos_ = end_ = 0;
  for (PageBuffer& slot : slots_) slot.Reset();
}

int TextReader::ReadLine(char* out) {
  if (fd_ < 0) return -1;
  // A piece is decided in one look at most kMaxPiece + 1 raw bytes: one more
  // than a piece holds, for the CR that a CR LF line end drops. Keeping that
  // many bytes in the buffer lets the lookup be a single memchr, which is
  // what makes reading a big log cost little more than reading its bytes.
  constexpr std::size_t kLook = kMaxPiece + 1;
  while (!ended_ && end_ - pos_ < kLook) {
    if (!Refill()) break;
  }
  const char* p = buf_ + pos_;
  const std::size_t avail = end_ - pos_;
  if (failed_ && avail == 0) {
    // What was read before the error has been handed out; from here on
    // every call says the reading failed.
    out[0] = '\0';
    return -1;
  }
  const std::size_t look = avail < kLook ? avail : kLook;
  std::size_t n;     // bytes handed out
  std::size_t used;  // bytes consumed from the buffer
  const void* found = std::memchr(p, '\n', look);
  const std::size_t lf = found ? static_cast<std::size_t>(static_cast<const char*>(found) - p) : look;
  if (found && lf > 0 && p[lf - 1] == '\r') {
    // CR LF: the line and its LF, without the CR (at most kMaxPiece bytes).
    std::memcpy(out, p, lf - 1);
    out[lf - 1] = '\n';
    n = lf;
    used = lf + 1;
  } else if (found && lf < kMaxPiece) {
    std::memcpy(out, p, lf + 1);
    n = lf + 1;
    used = lf + 1;
  } else {
    // No line end within a piece: a full piece, or the last bytes of the
    // input. A CR among them is a lone one and stays.
    n = look < kMaxPiece ? look : kMaxPiece;
    std::memcpy(out, p, n);
    used = n;
  }
  pos_ += used;
  consumed_ += used;
  out[n] = '\0';
  return static_cast<int>(n);
}

bool TextReader::ReadLine(std::string& out) {
  char piece[kMaxPiece + 1];
  int n = ReadLine(piece);
  if (n <= 0) return false;
  out.assign(piece, static_cast<std::size_t>(n));
  return true;
}

TextReader::AfterEndMark TextReader::WhatFollowsEndMark() {
  if (fd_ < 0) {
    error_ = EBADF;
    return AfterEndMark::Unknown;
  }
  if (endMark_ < 0) return AfterEndMark::NoMark;
  ahead_.Stop();  // the reads below are this thread's alone
  // Read beside the position the input stopped at, so that the pass's own
  // view of the file stays as it was.
  char chunk[64 * 1024];
  std::int64_t at = endMark_ + 1;
  for (;;) {
    const std::int64_t n = detail::ReadAt(fd_, chunk, sizeof chunk, at);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      return AfterEndMark::Unknown;
    }
    if (n == 0) return AfterEndMark::OnlyLineEnds;
    for (std::int64_t i = 0; i < n; ++i) {
      const char c = chunk[i];
      if (c != 0x1A && c != '\r' && c != '\n') return AfterEndMark::Data;
    }
    at += n;
  }
}

bool TextReader::Close() {
  if (fd_ < 0) {
    error_ = EBADF;
    return false;
  }
  ahead_.Stop();
  int fd = fd_;
  fd_ = -1;
  FreeBuffers();
  if (int e = detail::InjectedError(FileOp::Close, path_.c_str())) {
    ::close(fd);
    error_ = e;
    return false;
  }
  if (::close(fd) != 0) {
    error_ = errno;
    return false;
  }
  return true;
}

}  // namespace plat
