#include "platform/text_reader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fault_injection.h"

namespace plat {

TextReader::~TextReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool TextReader::Open(const std::string& path) {
  if (fd_ >= 0) return false;  // one file at a time; the open one is left as it is
  path_ = path;
  if (int e = detail::InjectedError(FileOp::Open, path.c_str())) {
    error_ = e;
    return false;
  }
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error_ = errno;
    return false;
  }
  // A folder opens for reading here but is no file to read: refuse it now,
  // as the host's platform does, rather than fail at the first read.
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    error_ = EISDIR;
    return false;
  }
  fd_ = fd;
  error_ = 0;
  ended_ = failed_ = false;
  buf_.resize(kBufferSize);
  pos_ = end_ = 0;
  return true;
}

bool TextReader::Refill() {
  if (ended_ || fd_ < 0) return false;
  if (pos_ > 0) {
    std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  for (;;) {
    if (int e = detail::InjectedError(FileOp::Read, path_.c_str())) {
      errno = e;
    } else {
      ssize_t n = ::read(fd_, buf_.data() + end_, buf_.size() - end_);
      if (n > 0) {
        end_ += static_cast<std::size_t>(n);
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

int TextReader::ReadLine(char* out) {
  if (failed_ || fd_ < 0) return -1;
  std::size_t n = 0;
  while (n < kMaxPiece) {
    if (pos_ == end_ && !Refill()) break;
    const char* p = buf_.data() + pos_;
    std::size_t take = end_ - pos_;
    if (take > kMaxPiece - n) take = kMaxPiece - n;
    // Copy ordinary bytes in one run; LF, CR and 0x1A are all below 0x1B.
    std::size_t i = 0;
    while (i < take && static_cast<unsigned char>(p[i]) > 0x1A) ++i;
    if (i < take) {
      while (i < take) {
        unsigned char c = static_cast<unsigned char>(p[i]);
        if (c == '\n' || c == '\r' || c == 0x1A) break;
        ++i;
      }
    }
    std::memcpy(out + n, p, i);
    n += i;
    pos_ += i;
    if (i == take) continue;
    unsigned char c = static_cast<unsigned char>(buf_[pos_]);
    if (c == 0x1A) {
      ended_ = true;
      end_ = pos_;  // nothing after the end-of-text mark is ever read
      break;
    }
    if (c == '\n') {
      out[n++] = '\n';
      ++pos_;
      break;
    }
    // CR: dropped when an LF follows, kept otherwise.
    if (pos_ + 1 == end_) Refill();
    if (failed_) break;
    if (pos_ + 1 < end_ && buf_[pos_ + 1] == '\n') {
      ++pos_;
      continue;
    }
    out[n++] = '\r';
    ++pos_;
  }
  out[n] = '\0';
  if (failed_) return -1;
  return static_cast<int>(n);
}

bool TextReader::ReadLine(std::string& out) {
  char piece[kMaxPiece + 1];
  int n = ReadLine(piece);
  if (n <= 0) return false;
  out.assign(piece, static_cast<std::size_t>(n));
  return true;
}

bool TextReader::Close() {
  if (fd_ < 0) {
    error_ = EBADF;
    return false;
  }
  int fd = fd_;
  fd_ = -1;
  buf_.clear();
  buf_.shrink_to_fit();
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
