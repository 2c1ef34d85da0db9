#pragma once
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace plat {

// The file that marks a forum folder as being changed. No name beginning
// with "~KIV" is ever the host's, and this one is taken for no log, old log,
// journal ("~KIV-*.JNL") or temporary file ("~KIV-*.TMP") by any scan.
inline constexpr char kForumLockName[] = "~KIV.LCK";

// The names the writers give a waiter.
inline constexpr char kLockHolderKiv[] = "Kiv";
inline constexpr char kLockHolderBatch[] = "kiv-batch";
inline constexpr char kLockHolderChecker[] = "TORBLEN";

// Who holds a forum, as its lock file tells: the program's name and its
// process id. Both empty when the file can't be read or the holder has not
// written them yet.
struct ForumLockHolder {
  std::string program;
  std::string process;
};

// One writer per forum at a time. Kiv, kiv-batch and TORBLEN hold a forum's
// lock while they change its folder, so that two of them never write there
// at once, and a repair never mistakes a live run's files for what a dead
// run left. The lock is the system's lock on the lock file: it goes when the
// holder closes the file or dies, so a crash leaves no forum locked for
// good. The holder writes its name and process id into the file for a
// waiter to name, and deletes the file as it lets go.
class ForumLock {
 public:
  enum class Outcome {
    Held,    // this object holds the lock until Release() or its end
    Busy,    // another process held it the whole time
    Failed,  // the lock file could not be made or locked (a read-only folder, say)
  };

  ForumLock() = default;
  ~ForumLock();  // lets go
  ForumLock(const ForumLock&) = delete;
  ForumLock& operator=(const ForumLock&) = delete;

  // Takes the lock of folder, trying again every few tens of milliseconds
  // until wait has passed (zero: one try), or until the user interrupts the
  // program. program is the name a waiter is told. *err: why it Failed.
  Outcome Acquire(const std::string& folder, std::string_view program, std::chrono::milliseconds wait, int* err);
  void Release();
  bool held() const { return native_ != -1; }
  // Who held the lock when Acquire last came back Busy: as the file the
  // waiter found locked named its holder, else as the lock file now does.
  ForumLockHolder BusyHolder() const;

 private:
  // One try: true when held; false with *busy set when another process holds
  // it, else with *err.
  bool TryOnce(std::string_view program, bool* busy, int* err);

  std::string path_;
  // The holder read from the locked file itself at the busy try (POSIX),
  // before a holder that lets go deletes it from its name.
  ForumLockHolder busyHolder_;
  std::intptr_t native_ = -1;  // the lock file's descriptor (POSIX) or handle (Windows)
};

// What the forum folder's lock file says of its holder.
ForumLockHolder ReadForumLockHolder(const std::string& folder);
// The holder as the busy messages name it: "<program>, PID <pid>", or
// unknown when the lock file names no one.
std::string ForumLockHolderText(const ForumLockHolder& holder, std::string_view unknown);

// How long a writer waits for another before it gives up: the milliseconds
// KIV_LOCK_WAIT_MS gives, else five seconds.
std::chrono::milliseconds ForumLockWait();

namespace detail {
// "<program> <pid>\n", as the holder writes it.
std::string ForumLockText(std::string_view program, long pid);
ForumLockHolder ParseForumLockText(std::string_view text);
// The lock file's bytes, or empty when it can't be read.
std::string ReadForumLockFile(const std::string& path);
}  // namespace detail

}  // namespace plat
