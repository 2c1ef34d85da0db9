#include "platform/text_writer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/fault_injection.h"

namespace plat {

TextWriter::~TextWriter() {
  if (fd_ >= 0) {
    Flush();
    ::close(fd_);
  }
}

bool TextWriter::Fail(int err) {
  if (error_ == 0) error_ = err;
  return false;
}

bool TextWriter::Open(const std::string& path, Mode mode) {
  // One file at a time. The refusal changes nothing: in particular it must
  // not mark the open file's output as lost.
  if (fd_ >= 0) return false;
  path_ = path;
  error_ = 0;
  if (int e = detail::InjectedError(FileOp::Open, path.c_str())) return Fail(e);
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
  switch (mode) {
    case Mode::CreateNew: flags |= O_EXCL; break;
    case Mode::Append: flags |= O_APPEND; break;
    case Mode::Truncate: flags |= O_TRUNC; break;
  }
  int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) return Fail(errno);
  fd_ = fd;
  buf_.resize(kBufferSize);
  used_ = 0;
  return true;
}

bool TextWriter::WriteRaw(const char* data, std::size_t len) {
  while (len > 0) {
    if (int e = detail::InjectedError(FileOp::Write, path_.c_str())) return Fail(e);
    ssize_t n = ::write(fd_, data, len);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail(errno);
    }
    if (n == 0) return Fail(ENOSPC);
    data += n;
    len -= static_cast<std::size_t>(n);
  }
  return true;
}

bool TextWriter::Flush() {
  if (fd_ < 0) return Fail(EBADF);
  if (error_) return false;
  std::size_t n = used_;
  used_ = 0;
  return n == 0 || WriteRaw(buf_.data(), n);
}

bool TextWriter::Write(std::string_view text) {
  if (fd_ < 0) return Fail(EBADF);
  if (error_) return false;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    // Room for the longest expansion of one byte (LF -> CR LF).
    if (buf_.size() - used_ <= 2 && !Flush()) return false;
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* stop = lf ? lf : end;
    std::size_t run = static_cast<std::size_t>(stop - p);
    std::size_t room = buf_.size() - used_ - 2;
    if (run > room) run = room;
    std::memcpy(buf_.data() + used_, p, run);
    used_ += run;
    p += run;
    if (p == lf) {
      buf_[used_++] = '\r';
      buf_[used_++] = '\n';
      ++p;
    }
  }
  return true;
}

bool TextWriter::Sync() {
  if (!Flush()) return false;
  if (int e = detail::InjectedError(FileOp::Sync, path_.c_str())) return Fail(e);
  if (::fsync(fd_) != 0) return Fail(errno);
  return true;
}

bool TextWriter::Close() {
  if (fd_ < 0) return Fail(EBADF);
  bool ok = Flush();
  int fd = fd_;
  fd_ = -1;
  buf_.clear();
  buf_.shrink_to_fit();
  if (int e = detail::InjectedError(FileOp::Close, path_.c_str())) {
    ::close(fd);
    return Fail(e);
  }
  if (::close(fd) != 0) return Fail(errno);
  return ok;
}

}  // namespace plat
