#include "platform/forum_lock.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "platform/file_ops.h"
#include "platform/interrupt.h"

namespace plat {

namespace {

// Often enough that a waiter follows the holder almost at once; seldom
// enough that waiting costs nothing.
constexpr std::chrono::milliseconds kPollInterval{50};
constexpr std::chrono::milliseconds kDefaultWait{5000};

}  // namespace

ForumLock::Outcome ForumLock::Acquire(const std::string& folder, std::string_view program,
                                      std::chrono::milliseconds wait, int* err) {
  Release();
  path_ = JoinPath(folder, kForumLockName);
  busyHolder_ = {};
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    bool busy = false;
    if (TryOnce(program, &busy, err)) return Outcome::Held;
    if (!busy) return Outcome::Failed;
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline || InterruptRequested()) return Outcome::Busy;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kPollInterval, deadline - now));
  }
}

ForumLockHolder ForumLock::BusyHolder() const {
  if (!busyHolder_.program.empty()) return busyHolder_;
  return detail::ParseForumLockText(detail::ReadForumLockFile(path_));
}

ForumLockHolder ReadForumLockHolder(const std::string& folder) {
  return detail::ParseForumLockText(detail::ReadForumLockFile(JoinPath(folder, kForumLockName)));
}

std::string ForumLockHolderText(const ForumLockHolder& holder, std::string_view unknown) {
  return holder.program.empty() ? std::string(unknown) : holder.program + ", PID " + holder.process;
}

std::chrono::milliseconds ForumLockWait() {
  const char* text = std::getenv("KIV_LOCK_WAIT_MS");
  if (!text || !*text) return kDefaultWait;
  char* end = nullptr;
  const long long ms = std::strtoll(text, &end, 10);
  if (*end != '\0' || ms < 0) return kDefaultWait;
  return std::chrono::milliseconds(ms);
}

namespace detail {

std::string ForumLockText(std::string_view program, long pid) {
  return std::string(program) + " " + std::to_string(pid) + "\n";
}

ForumLockHolder ParseForumLockText(std::string_view text) {
  const std::size_t end = text.find('\n');
  // Half a line is a holder still writing it: not yet known.
  if (end == std::string_view::npos) return {};
  const std::string_view line = text.substr(0, end);
  const std::size_t space = line.rfind(' ');
  if (space == std::string_view::npos || space == 0 || space + 1 == line.size()) return {};
  const std::string_view pid = line.substr(space + 1);
  if (pid.find_first_not_of("0123456789") != std::string_view::npos) return {};
  return {std::string(line.substr(0, space)), std::string(pid)};
}

}  // namespace detail

}  // namespace plat
