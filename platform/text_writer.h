#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace plat {

// Writes a file the way the host's text mode does: every LF goes out as
// CR LF. Output is gathered in a large buffer; every failure of the
// underlying writes is kept in error() and makes the later calls fail too,
// so a caller that checks Close() (or Sync()) knows whether all reached disk.
class TextWriter {
 public:
  enum class Mode {
    CreateNew,  // the file must not exist yet
    Append,     // created when missing, written at its end
    Truncate,   // created when missing, emptied when present
  };
  static constexpr std::size_t kBufferSize = 1 << 20;
  // Every this many bytes written, the system is asked to start putting them
  // on disk, so that Sync() finds little left to wait for. The steps are
  // small enough that the disk is busy from the first megabytes of a split
  // on: a title log is split about as fast as the disk takes the outputs.
  static constexpr std::size_t kWritebackStep = 2 << 20;

  TextWriter() = default;
  ~TextWriter();  // closes without reporting; callers that care call Close()
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;

  // False with error() set when the file can't be opened; while a file is
  // open, false and nothing changes.
  bool Open(const std::string& path, Mode mode);
  // Opens no file: what is written is only counted (written()), for a split
  // that is planned but not made. Flush, Sync and Close then succeed with
  // nothing to do.
  bool OpenCounting();
  bool IsOpen() const { return fd_ >= 0 || counting_; }

  bool Write(std::string_view text);
  bool Write(const char* data, std::size_t len) { return Write(std::string_view(data, len)); }
  // Writes text as a file in this form holds it, CR LF kept: only a bare LF
  // gets its CR. A text may begin where the last one ended, even between the
  // CR and the LF of a line end.
  bool WriteFileText(std::string_view text);
  // Writes bytes that are already in the file's form, as they are.
  bool WriteBytes(std::string_view bytes);

  bool Flush();
  // Writes out what is gathered and gives the buffer back; the next write
  // takes a new one. A split with many outputs keeps only the buffer of the
  // output it is writing, so its memory does not grow with their number.
  bool Release();
  bool Sync();   // flush and make durable (fsync)
  bool Close();  // flush and close; false when anything written was lost

  int error() const { return error_; }
  const std::string& path() const { return path_; }
  // Bytes that went out since the last Open (CR LF as written); kept after
  // Close.
  std::uint64_t written() const { return written_; }

 private:
  bool WriteRaw(const char* data, std::size_t len);
  bool Put(const char* data, std::size_t len);
  void StartWriteback();
  bool Fail(int err);
  void Reset();  // the state of a writer just opened

  int fd_ = -1;
  bool counting_ = false;  // opened by OpenCounting
  int error_ = 0;
  std::string path_;
  std::uint64_t written_ = 0;
  void TakeBuffer();
  void GiveBackBuffer();

  std::unique_ptr<char[]> buf_;  // kBufferSize bytes while writing; none between
  std::size_t used_ = 0;
  bool endedWithCr_ = false;         // the last text of WriteFileText ended with a CR
  std::size_t unsubmitted_ = 0;      // bytes written since the last writeback request
  std::uint64_t writebackFrom_ = 0;  // file offset the next request starts at
};

}  // namespace plat
