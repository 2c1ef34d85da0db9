#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

namespace plat {

// Reads a big log's next block on a second thread while the pass scans the
// block before it, so that an analysis or a split of a log of a gigabyte
// waits for the system's copy only when the scan outruns it. One block is
// under way at a time, into memory the caller lends and does not touch
// until it has taken the block back. Only the system's read runs here: the
// fault injection and every look at the bytes (the end-of-text mark too)
// stay with the caller, in the caller's order, and the thread reads exactly
// the blocks the caller would have read itself.
class ReadAhead {
 public:
  // A block as read: size bytes at data; size 0 is the end of the file,
  // error != 0 a failed read (errno).
  struct Block {
    char* data = nullptr;
    std::size_t size = 0;
    int error = 0;
  };

  ReadAhead() = default;
  ~ReadAhead() { Stop(); }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Starts reading fd on from where it stands, blockSize bytes into into,
  // on a second thread when one can be had.
  void Start(int fd, char* into, std::size_t blockSize);
  // Whether the second thread runs: false once it is given up (see Take).
  bool Running() const { return worker_.joinable(); }
  // Hands over the block asked for, once read; read here when the second
  // thread has not begun it yet.
  Block Take();
  // Reads the next block into into; only after Take.
  void Request(char* into);
  // Waits for a read under way and ends the thread; the file is then the
  // caller's again. Safe to call when nothing runs.
  void Stop();

 private:
  void Run();
  Block ReadBlock(char* into) const;
  // Waits until ready() holds: a short spin first, as a block of a log in
  // the page cache takes some tens of microseconds and waking a sleeping
  // thread costs about as much, then asleep (a log on a slow disk).
  template <class Ready>
  void Await(Ready ready, std::chrono::microseconds spin);
  void Wake();
  void EndThread();

  int fd_ = -1;
  std::size_t blockSize_ = 0;
  std::thread worker_;
  // Where the one block there is stands. The caller asks for it; whichever
  // thread moves it from asked to reading reads it: the caller itself when
  // it needs the block before the second thread got to it (a busy machine,
  // where waiting for that thread to be scheduled would cost far more).
  enum State : int { kIdle, kAsked, kReading, kDone };
  std::atomic<int> state_{kIdle};
  std::atomic<bool> stop_{false};
  char* into_ = nullptr;  // where the block asked for goes; set before it is asked for
  Block block_;           // the block read; set before it is done
  // How often the caller found the block not yet begun and read it itself,
  // judged every kJudgedEvery blocks from the first block the thread read
  // (starting a thread takes a while): on a machine busy with other work
  // the second thread is seldom scheduled in time.
  static constexpr int kJudgedEvery = 32;
  int judged_ = 0;    // 0 until the thread has read a block, then 1 + blocks since the last judgement
  int readHere_ = 0;  // of them, read by the caller
  // For a wait that outlasts the spin.
  std::mutex mutex_;
  std::condition_variable woken_;
  std::atomic<int> sleepers_{0};
};

}  // namespace plat
