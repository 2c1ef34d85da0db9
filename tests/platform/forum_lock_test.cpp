// One writer per forum: the lock a forum folder's writers hold, as two
// programs (here: two lock objects, which the system tells apart just as it
// tells processes apart) see it.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#else
#include <process.h>
#endif

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "platform/fault_injection.h"
#include "platform/file_error.h"
#include "platform/file_ops.h"
#include "platform/forum_lock.h"
#include "tests/support/injected_fault.h"
#include "tests/support/temp_dir.h"

namespace {

using plat::ForumLock;
using Outcome = plat::ForumLock::Outcome;
using std::chrono::milliseconds;

long OwnPid() {
#ifdef _WIN32
  return static_cast<long>(::_getpid());
#else
  return static_cast<long>(::getpid());
#endif
}

TEST(ForumLock, OneHolderAtATimeNamedToTheOthersAndGoneWhenLetGo) {
  TempDir tmp;
  const std::string lockFile = tmp.Sub(plat::kForumLockName);
  int err = 0;
  ForumLock first;
  ASSERT_EQ(first.Acquire(tmp.path(), "kiv-batch", milliseconds(0), &err), Outcome::Held) << err;
  const plat::ForumLockHolder holder = plat::ReadForumLockHolder(tmp.path());
  EXPECT_EQ(holder.program, "kiv-batch");
  EXPECT_EQ(holder.process, std::to_string(OwnPid()));

  ForumLock second;
  EXPECT_EQ(second.Acquire(tmp.path(), "TORBLEN", milliseconds(0), &err), Outcome::Busy);
  EXPECT_FALSE(second.held());
  // The waiter left the holder's name as it was, and knows it.
  EXPECT_EQ(plat::ReadForumLockHolder(tmp.path()).program, "kiv-batch");
  EXPECT_EQ(second.BusyHolder().program, "kiv-batch");

  first.Release();
  EXPECT_FALSE(plat::FileExists(lockFile));
  EXPECT_TRUE(plat::ReadForumLockHolder(tmp.path()).program.empty());
#ifndef _WIN32
  // Read from the file found locked: the holder letting go meanwhile does
  // not make it unknown.
  EXPECT_EQ(second.BusyHolder().program, "kiv-batch");
#endif
  ASSERT_EQ(second.Acquire(tmp.path(), "TORBLEN", milliseconds(0), &err), Outcome::Held);
  EXPECT_EQ(plat::ReadForumLockHolder(tmp.path()).program, "TORBLEN");
}

#ifndef _WIN32
// A holder that has just locked the file and not yet written its name: a
// waiter that gives up at once still names it.
TEST(ForumLock, AHolderStillWritingItsNameIsNamed) {
  TempDir tmp;
  const std::string lockFile = tmp.Sub(plat::kForumLockName);
  const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT, 0666);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  std::thread writer([&] {
    std::this_thread::sleep_for(milliseconds(5));
    const std::string text = "Kiv 4242\n";
    EXPECT_EQ(::pwrite(fd, text.data(), text.size(), 0), static_cast<ssize_t>(text.size()));
  });
  ForumLock waiter;
  int err = 0;
  EXPECT_EQ(waiter.Acquire(tmp.path(), "kiv-batch", milliseconds(0), &err), Outcome::Busy);
  writer.join();
  EXPECT_EQ(waiter.BusyHolder().program, "Kiv");
  EXPECT_EQ(waiter.BusyHolder().process, "4242");
  ::close(fd);
}
#endif

TEST(ForumLock, AWaiterTakesItWhenTheHolderLetsGoAndGivesUpWhenTheWaitRunsOut) {
  TempDir tmp;
  int err = 0;
  auto holder = std::make_unique<ForumLock>();
  ASSERT_EQ(holder->Acquire(tmp.path(), "Kiv", milliseconds(0), &err), Outcome::Held);

  ForumLock waiter;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(waiter.Acquire(tmp.path(), "kiv-batch", milliseconds(150), &err), Outcome::Busy);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, milliseconds(150));
  EXPECT_LT(waited, milliseconds(2000));

  std::thread letGo([&] {
    std::this_thread::sleep_for(milliseconds(200));
    holder.reset();
  });
  start = std::chrono::steady_clock::now();
  EXPECT_EQ(waiter.Acquire(tmp.path(), "kiv-batch", milliseconds(10000), &err), Outcome::Held);
  EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(5000));
  letGo.join();
}

#ifndef _WIN32
// A holder deletes the file as it lets go. A waiter that opened the file
// just before and locks it just after must not go on holding a file no
// longer under the name, while a third takes the name anew. (On Windows the
// open is the lock: no waiter opens a held file.)
ForumLock* g_letGoWhenLooked = nullptr;
int LetGoWhenTheWaiterLooks(plat::FileOp op, const char*) {
  if (op == plat::FileOp::Status && g_letGoWhenLooked) {
    std::exchange(g_letGoWhenLooked, nullptr)->Release();
  }
  return 0;
}

TEST(ForumLock, AWaiterThatOpenedTheFileAsItsHolderLetGoTakesTheNameAnew) {
  TempDir tmp;
  int err = 0;
  ForumLock holder;
  ASSERT_EQ(holder.Acquire(tmp.path(), "Kiv", milliseconds(0), &err), Outcome::Held);
  ForumLock waiter;
  g_letGoWhenLooked = &holder;
  plat::SetFaultHook(LetGoWhenTheWaiterLooks);
  const Outcome taken = waiter.Acquire(tmp.path(), "kiv-batch", milliseconds(0), &err);
  plat::SetFaultHook(nullptr);
  ASSERT_EQ(g_letGoWhenLooked, nullptr) << "the waiter never looked at what it opened";
  ASSERT_EQ(taken, Outcome::Held);
  EXPECT_EQ(plat::ReadForumLockHolder(tmp.path()).program, "kiv-batch");
  ForumLock third;
  EXPECT_EQ(third.Acquire(tmp.path(), "TORBLEN", milliseconds(0), &err), Outcome::Busy);
}
#endif

TEST(ForumLock, AFileADeadHolderLeftIsTakenOver) {
  TempDir tmp;
  WriteBytes(tmp.Sub(plat::kForumLockName), "kiv-batch 99999999\nmore than a holder writes");
  ForumLock lock;
  int err = 0;
  ASSERT_EQ(lock.Acquire(tmp.path(), "Kiv", milliseconds(0), &err), Outcome::Held);
  // Read as a waiter reads it: on Windows only a reader that lets the holder
  // write and delete may open it.
  EXPECT_EQ(plat::detail::ReadForumLockFile(tmp.Sub(plat::kForumLockName)), "Kiv " + std::to_string(OwnPid()) + "\n");
}

TEST(ForumLock, ALockThatCantBeMadeIsAFailureNotAWait) {
  TempDir tmp;
  int err = 0;
  ForumLock lock;
  {
    InjectedFault readOnly(plat::FileOp::Open, plat::kForumLockName, EROFS);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(lock.Acquire(tmp.path(), "Kiv", milliseconds(5000), &err), Outcome::Failed);
    EXPECT_EQ(err, EROFS);
    EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(1000));
  }
  EXPECT_EQ(lock.Acquire(tmp.Sub("no such folder"), "Kiv", milliseconds(0), &err), Outcome::Failed);
  // A folder in the lock's place.
  MakeDir(tmp.Sub("F"));
  MakeDir(tmp.Sub(std::string("F/") + plat::kForumLockName));
  EXPECT_EQ(lock.Acquire(tmp.Sub("F"), "Kiv", milliseconds(0), &err), Outcome::Failed);
#ifndef _WIN32
  // A link in the lock's place leads nowhere it could write.
  MakeDir(tmp.Sub("G"));
  WriteBytes(tmp.Sub("outside"), "kept");
  ASSERT_EQ(::symlink(tmp.Sub("outside").c_str(), tmp.Sub(std::string("G/") + plat::kForumLockName).c_str()), 0);
  EXPECT_EQ(lock.Acquire(tmp.Sub("G"), "Kiv", milliseconds(0), &err), Outcome::Failed);
  EXPECT_EQ(err, ELOOP);
  EXPECT_EQ(ReadBytes(tmp.Sub("outside")), "kept");
  MakeDir(tmp.Sub("H"));
  ASSERT_EQ(::mkfifo(tmp.Sub(std::string("H/") + plat::kForumLockName).c_str(), 0644), 0);
  EXPECT_EQ(lock.Acquire(tmp.Sub("H"), "Kiv", milliseconds(0), &err), Outcome::Failed);
  EXPECT_EQ(err, plat::kErrNotRegularFile);
#endif
}

}  // namespace
