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
  endedWithCr_ = false;
  unsubmitted_ = 0;
  writebackFrom_ = 0;
  return true;
}

void TextWriter::StartWriteback() {
  unsubmitted_ = 0;
#ifdef __linux__
  // Only a hint, with nothing to wait for: whatever fails here fails again,
  // and is reported, in the fsync of Sync().
  const off_t end = ::lseek(fd_, 0, SEEK_CUR);
  if (end < 0 || static_cast<std::uint64_t>(end) <= writebackFrom_) return;
  ::sync_file_range(fd_, static_cast<off_t>(writebackFrom_), end - static_cast<off_t>(writebackFrom_),
                    SYNC_FILE_RANGE_WRITE);
  writebackFrom_ = static_cast<std::uint64_t>(end);
#endif
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
    unsubmitted_ += static_cast<std::size_t>(n);
  }
  if (unsubmitted_ >= kWritebackStep) StartWriteback();
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
  endedWithCr_ = false;
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

bool TextWriter::Put(const char* data, std::size_t len) {
  // A big stretch goes out from where it is, after what is gathered.
  if (len >= buf_.size() / 2) return Flush() && WriteRaw(data, len);
  if (len > buf_.size() - used_ && !Flush()) return false;
  std::memcpy(buf_.data() + used_, data, len);
  used_ += len;
  return true;
}

bool TextWriter::WriteFileText(std::string_view text) {
  if (fd_ < 0) return Fail(EBADF);
  if (error_) return false;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    // Everything up to the next bare LF goes out as it stands.
    const char* q = p;
    const char* bare = nullptr;
    while (q < end) {
      const char* lf = static_cast<const char*>(std::memchr(q, '\n', static_cast<std::size_t>(end - q)));
      if (!lf) {
        q = end;
        break;
      }
      if (lf == text.data() ? !endedWithCr_ : lf[-1] != '\r') {
        bare = lf;
        q = lf;
        break;
      }
      q = lf + 1;
    }
    if (!Put(p, static_cast<std::size_t>(q - p))) return false;
    p = q;
    if (bare) {
      if (!Put("\r\n", 2)) return false;
      ++p;
    }
  }
  if (!text.empty()) endedWithCr_ = text.back() == '\r';
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
