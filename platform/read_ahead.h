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
  // Whether the second thread runs: from Start to Stop, when one could be had.
  bool Running() const { return worker_.joinable(); }
  // Hands over the block asked for, once read; read here when it was not
  // given to the second thread (into here, when given), or the thread has
  // not begun it yet.
  Block Take(char* here = nullptr);
  // Whether the block asked for was given to the second thread.
  bool Posted() const { return posted_; }
  // Asks for the next block, into into; only after Take.
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
  // Whether block step of the cycle is read ahead.
  bool AheadFor(int step) const;
  // Counts the block just taken into its trial.
  void Time();

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
  // Whether the block asked for was given to the second thread. Which way
  // is faster depends on the machine at the moment: on an idle one the
  // thread wins; where both cores are busy with other work, or the two
  // cores slow each other down, the caller reading for itself does. So
  // every kCycle blocks begin with kTrial blocks read ahead untimed (the
  // first blocks of a log are slower either way), then kTrial read by the
  // caller and kTrial read ahead, timed, and the rest of the cycle goes
  // the faster way. Either way the blocks are the same.
  using Clock = std::chrono::steady_clock;
  static constexpr int kCycle = 1024;
  static constexpr int kTrial = 16;
  static constexpr int kWarmUp = 2;  // blocks of a trial not timed
  bool posted_ = true;
  int step_ = 0;  // of the block to be taken next, in the cycle
  Clock::duration spentAhead_{};
  Clock::duration spentHere_{};
  bool aheadWins_ = true;
  Clock::time_point last_;  // when the last block was taken
  // For a wait that outlasts the spin.
  std::mutex mutex_;
  std::condition_variable woken_;
  std::atomic<int> sleepers_{0};
};

}  // namespace plat
