#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_ops.h"
#include "platform/page_buffer.h"
#include "platform/read_ahead.h"

namespace plat {

// Reads a file the way the host's text mode does: CR LF becomes LF, a byte
// 0x1A ends the input, and a line is handed out in pieces of at most
// kMaxPiece bytes (LF included), so a longer physical line arrives as several
// pieces, the first ones without LF. The last line may lack its LF.
// The file is read in blocks of kBufferSize; a log of more than one block
// has its next block read on a second thread while the current one is
// scanned (ReadAhead), which changes nothing of what is handed out.
class TextReader {
 public:
  static constexpr std::size_t kMaxPiece = 1023;
  static constexpr std::size_t kBufferSize = 1 << 20;

  TextReader() = default;
  ~TextReader();
  TextReader(const TextReader&) = delete;
  TextReader& operator=(const TextReader&) = delete;

  // Opens a regular file for reading; on failure returns false and error()
  // holds errno (EISDIR for a folder, kErrNotRegularFile for a FIFO, a
  // device or a socket: none of them is ever waited on). While a file is
  // open, Open returns false and changes nothing.
  bool Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }

  // Copies the next piece into out (room for kMaxPiece + 1 bytes; it is
  // NUL-terminated) and returns its length; 0 at the end of the input,
  // -1 on a read error (error() holds errno; later calls return -1 too).
  int ReadLine(char* out);

  // Convenience for readers that keep the piece: false at end or error.
  bool ReadLine(std::string& out);

  // Bulk access, for scans that find the lines themselves: the unread bytes
  // as they stand in the file (CR LF kept), up to the end-of-text mark. The
  // view is valid until the next call that reads or skips.
  std::string_view Unread() const { return {buf_ + pos_, end_ - pos_}; }
  // Reads on until at least want bytes (at most kBufferSize) are unread or
  // the input has ended; false on a read error (error() holds errno). A big
  // log may leave more than kBufferSize unread.
  bool Fill(std::size_t want);
  // Takes the first n unread bytes as read.
  void Skip(std::size_t n);
  // Whether no bytes will come beyond Unread(): end of file, 0x1A or an error.
  bool Ended() const { return ended_; }
  // For a scan that looks at every byte anyway: from here on the blocks
  // read are not searched for the end-of-text mark, so Unread() may hold
  // bytes past one. The scan looks at each byte before it uses it and calls
  // EndAt at the first 0x1A; a pass over a big log then goes over each
  // block once instead of twice. Rewind ends it; SearchEndMark too, looking
  // through what is unread.
  void LeaveEndMarkToScan() { scanFindsMark_ = true; }
  void SearchEndMark();
  // The scan found an end-of-text mark at the file offset offset among the
  // unread bytes: the input ends there, as if the reader had found it.
  void EndAt(std::uint64_t offset);
  // File offset of the first unread byte.
  std::uint64_t Offset() const { return consumed_; }
  // Starts again at the beginning of the file; false (with error()) when the
  // file can't be positioned.
  bool Rewind();

  // Once the input has stopped at an end-of-text mark, whether the file
  // holds more than further marks and line ends after it: the part the
  // input never showed. Reads beside the input, which goes on unchanged.
  enum class AfterEndMark { NoMark, OnlyLineEnds, Data, Unknown /* error() */ };
  AfterEndMark WhatFollowsEndMark();
  // File offset of the end-of-text mark the input stopped at, or -1.
  std::int64_t EndMarkOffset() const { return endMark_; }
  // The file that was opened, as it stood then: a split compares it with
  // the log's name just before it commits.
  const FileIdentity& OpenedIdentity() const { return opened_; }

  // Closes the file; false (with error()) when closing failed or no file was open.
  bool Close();

  int error() const { return error_; }
  const std::string& path() const { return path_; }

 private:
  // Where the unread bytes are moved before more are read after them: room
  // for what a Fill keeps (less than kBufferSize) before the block read.
  static constexpr std::size_t kHead = kBufferSize;
  static constexpr std::size_t kSlotSize = kHead + kBufferSize;

  bool Refill();          // keeps unread bytes, reads more; false when none came
  bool ReadHere();        // the next block, read on this thread into buf_
  bool TakeBlockAhead();  // the next block, read ahead into the other buffer
  // The n bytes read into buf_ at kHead, after the unread ones, cut at an
  // end-of-text mark.
  void TakeInBlock(std::size_t n);
  void EndAtByte(const char* mark);  // the input ends at mark, among the unread bytes
  // The unread bytes moved to end at kHead, where the next block is read.
  void MoveUnreadToHead();
  char* OtherBuffer() const;  // the buffer not scanned now
  void StartReadingAhead();
  void FreeBuffers();

  int fd_ = -1;
  int error_ = 0;
  bool ended_ = false;  // end of file, 0x1A or an error was met
  bool failed_ = false;
  std::int64_t endMark_ = -1;  // offset of the 0x1A the input stopped at
  std::string path_;
  FileIdentity opened_;
  // Two buffers of kSlotSize: the one scanned (buf_) and, once a log proves
  // big, the one the next block is read into meanwhile. The block at kHead
  // starts on a page too.
  static_assert(kHead % PageBuffer::kPageSize == 0);
  PageBuffer slots_[2];
  char* buf_ = nullptr;
  ReadAhead ahead_;
  bool readAheadTried_ = false;  // since the file was opened or rewound
  bool scanFindsMark_ = false;   // LeaveEndMarkToScan since opened or rewound
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::uint64_t consumed_ = 0;
};

}  // namespace plat
