#include "platform/text_writer.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <unistd.h>
#ifdef __linux__
#include <fcntl.h>
#endif

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/fault_injection.h"
#include "platform/file_error.h"
#include "platform/native_file.h"

namespace plat {

namespace {

// The first LF in [p, end) with no CR right before it (afterCr: the byte
// before p was one); null when there is none. Text in the host's form has
// a line end every few dozen bytes and hardly ever a bare one, so the bytes
// are looked at sixteen at a time.
const char* FindBareLf(const char* p, const char* end, bool afterCr) {
  if (p == end) return nullptr;
  if (*p == '\n' && !afterCr) return p;
  ++p;  // from here on the byte before is in the text
#ifdef __SSE2__
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  for (; end - p >= 16; p += 16) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 1));
    const int bare = _mm_movemask_epi8(_mm_andnot_si128(_mm_cmpeq_epi8(before, cr), _mm_cmpeq_epi8(here, lf)));
    if (bare != 0) return p + __builtin_ctz(static_cast<unsigned>(bare));
  }
#endif
  for (; p < end; ++p) {
    if (*p == '\n' && p[-1] != '\r') return p;
  }
  return nullptr;
}

}  // namespace

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
  if (IsOpen()) return false;
  path_ = path;
  error_ = 0;
  written_ = 0;
  if (int e = detail::InjectedError(FileOp::Open, path.c_str())) return Fail(e);
  detail::WriteOpen how = detail::WriteOpen::CreateNew;
  switch (mode) {
    case Mode::CreateNew: how = detail::WriteOpen::CreateNew; break;
    case Mode::Append: how = detail::WriteOpen::Append; break;
    case Mode::Truncate: how = detail::WriteOpen::Truncate; break;
  }
  int fd = -1;
  if (int e = detail::OpenFileForWriting(path, how, &fd)) return Fail(e);
  fd_ = fd;
  Reset();
  return true;
}

bool TextWriter::OpenCounting() {
  if (IsOpen()) return false;
  path_.clear();
  error_ = 0;
  written_ = 0;
  counting_ = true;
  Reset();
  return true;
}

void TextWriter::Reset() {
  GiveBackBuffer();  // taken at the first write
  used_ = 0;
  endedWithCr_ = false;
  unsubmitted_ = 0;
  writebackFrom_ = 0;
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
  written_ += len;  // what fails below is in error() and makes the count moot
  if (counting_) return true;
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
  if (!IsOpen()) return Fail(EBADF);
  if (error_) return false;
  std::size_t n = used_;
  used_ = 0;
  return n == 0 || WriteRaw(buf_.get(), n);
}

bool TextWriter::Release() {
  const bool ok = Flush();
  GiveBackBuffer();
  return ok;
}

namespace {
// The buffer the last writer gave back, for the next one to take: a split
// moving from output to output hands one buffer along instead of mapping
// and touching a new megabyte each time.
thread_local std::unique_ptr<char[]> g_spareBuffer;
}  // namespace

void TextWriter::TakeBuffer() {
  buf_ = g_spareBuffer ? std::move(g_spareBuffer) : std::make_unique_for_overwrite<char[]>(kBufferSize);
}

void TextWriter::GiveBackBuffer() {
  if (buf_ && !g_spareBuffer) g_spareBuffer = std::move(buf_);
  buf_.reset();
}

bool TextWriter::Write(std::string_view text) {
  if (!IsOpen()) return Fail(EBADF);
  if (error_) return false;
  if (!buf_) TakeBuffer();
  endedWithCr_ = false;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    // Room for the longest expansion of one byte (LF -> CR LF).
    if (kBufferSize - used_ <= 2 && !Flush()) return false;
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* stop = lf ? lf : end;
    std::size_t run = static_cast<std::size_t>(stop - p);
    std::size_t room = kBufferSize - used_ - 2;
    if (run > room) run = room;
    std::memcpy(buf_.get() + used_, p, run);
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
  if (len >= kBufferSize / 2) return Flush() && WriteRaw(data, len);
  if (len > kBufferSize - used_ && !Flush()) return false;
  std::memcpy(buf_.get() + used_, data, len);
  used_ += len;
  return true;
}

bool TextWriter::WriteFileText(std::string_view text) {
  if (!IsOpen()) return Fail(EBADF);
  if (error_) return false;
  if (!buf_) TakeBuffer();
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    // Everything up to the next bare LF goes out as it stands.
    const bool afterCr = p == text.data() ? endedWithCr_ : p[-1] == '\r';
    const char* bare = FindBareLf(p, end, afterCr);
    const char* stop = bare ? bare : end;
    if (!Put(p, static_cast<std::size_t>(stop - p))) return false;
    p = stop;
    if (bare) {
      if (!Put("\r\n", 2)) return false;
      ++p;
    }
  }
  if (!text.empty()) endedWithCr_ = text.back() == '\r';
  return true;
}

bool TextWriter::WriteBytes(std::string_view bytes) {
  if (!IsOpen()) return Fail(EBADF);
  if (error_) return false;
  if (!buf_) TakeBuffer();
  endedWithCr_ = false;
  return Put(bytes.data(), bytes.size());
}

bool TextWriter::Sync() {
  if (!Flush()) return false;
  if (counting_) return true;
  if (int e = detail::InjectedError(FileOp::Sync, path_.c_str())) return Fail(e);
  if (int e = detail::SyncFile(fd_)) return Fail(e);
  return true;
}

bool TextWriter::Close() {
  if (!IsOpen()) return Fail(EBADF);
  bool ok = Flush();
  if (counting_) {
    counting_ = false;
    GiveBackBuffer();
    return ok;
  }
  int fd = fd_;
  fd_ = -1;
  GiveBackBuffer();
  if (int e = detail::InjectedError(FileOp::Close, path_.c_str())) {
    ::close(fd);
    return Fail(e);
  }
  if (::close(fd) != 0) return Fail(errno);
  return ok;
}

}  // namespace plat
