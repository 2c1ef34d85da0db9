// The host program appending to a log while kiv-batch splits it, or splits
// and undoes the split in one session, both reopening the log for each
// message and keeping one handle open: every message it wrote is in some
// file afterwards, and none is only in a backup or in a file an undo
// displaced unless the run said so and exited 1.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/robustness/child_process.h"
#include "tests/robustness/folder_snapshot.h"
#include "tests/support/temp_dir.h"
#include "tools/samplegen/shared_folder.h"

namespace {

enum class Host { ReopensForEachMessage, KeepsTheLogOpen };

// A backup, or a file an undo displaced and kept because the host wrote into it.
bool IsBackupName(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string ext = path.substr(dot + 1);
  return ext == "BAK" || (ext.size() >= 3 && (ext[0] == 'B' || ext[0] == 'U') &&
                          ext.find_first_not_of("0123456789", 1) == std::string::npos);
}

using Clock = std::chrono::steady_clock;

// How long before its end a run looks for the last time: the history is
// written and the process ends after it (with the sanitizers' leak check).
constexpr std::chrono::milliseconds kLastLook{50};

struct Message {
  std::string text;
  Clock::time_point written;
};

// Appends numbered messages to the log, one every two milliseconds after a
// first wait, until told to stop.
std::vector<Message> Append(const std::string& log, Host host, const std::string& tag, long waitMicros,
                            const std::atomic<bool>& stop) {
  std::vector<Message> written;
  // A host that keeps the log open has it open before the split begins.
  int fd = host == Host::KeepsTheLogOpen ? ::open(log.c_str(), O_WRONLY | O_APPEND) : -1;
  ::usleep(static_cast<useconds_t>(waitMicros));
  for (int k = 0; !stop.load() && k < 200; ++k) {
    if (fd < 0) fd = ::open(log.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (fd < 0) break;
    const std::string text = "HOST-" + tag + "-" + std::to_string(k);
    const std::string line = text + "\r\n";
    if (::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size())) {
      written.push_back({text, Clock::now()});
    }
    if (host == Host::ReopensForEachMessage) {
      ::close(fd);
      fd = -1;
    }
    ::usleep(2000);
  }
  if (fd >= 0) ::close(fd);
  return written;
}

void SplitWhileTheHostWrites(Host host, const char* name, bool undo = false) {
  TempDir tmp;
  samplegen::SharedFolderOptions options;
  options.seed = 21;
  options.forums = 1;
  options.rooms = 1;
  options.sizeBytes = 2 << 20;
  // The body log first, then the title log: a host that keeps the body log
  // open writes on into its old file while the title log is split.
  const std::vector<std::string> split{"--rooms", "1", "--kind", "both", "--number", "200"};
  // The session: the split, then its undo.
  robust::ChildRun how;
  if (undo) how.input = "split --rooms 1 --kind both --number 200\nundo --rooms 1\n";
  auto argsFor = [&](const std::string& forum) {
    std::vector<std::string> args{undo ? "session" : "split", forum};
    if (!undo) args.insert(args.end(), split.begin(), split.end());
    return args;
  };

  long micros = 0;
  {
    const std::string root = tmp.Sub("timing");
    samplegen::GenerateSharedFolder(root, options);
    const auto start = std::chrono::steady_clock::now();
    robust::ChildEnd end = robust::RunChild(KIV_BATCH_KILLABLE, argsFor(root + "/FORUM1"), how);
    ASSERT_EQ(end.status, 0) << end.err;
    micros = static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count());
  }

  // The host starts writing at moments spread from early in the split's
  // read to after its end.
  int rounds = 0, written = 0, told = 0, takenBack = 0;
  for (int round = 0; round < 16; ++round) {
    const std::string root = tmp.Sub("round-" + std::to_string(round));
    samplegen::GenerateSharedFolder(root, options);
    const std::string forum = root + "/FORUM1";
    std::atomic<bool> stop{false};
    std::vector<Message> messages;
    std::thread hostThread([&] {
      messages = Append(forum + "/MES_01.LOG", host, std::to_string(round), micros / 4 + micros * round / 16, stop);
    });
    robust::ChildEnd end = robust::RunChild(KIV_BATCH_KILLABLE, argsFor(forum), how);
    const Clock::time_point ended = Clock::now();
    stop = true;
    hostThread.join();
    ++rounds;
    written += static_cast<int>(messages.size());

    const robust::Snapshot after = robust::TakeSnapshot(root);
    const bool said = end.status == 1 && (end.err.find("バックアップファイルにしかありません") != std::string::npos ||
                                          end.err.find("この名前のファイルにしかありません") != std::string::npos);
    if (end.err.find("ファイルが更新されています") != std::string::npos) ++takenBack;
    bool onlyInBackup = false;
    for (const Message& message : messages) {
      bool inLog = false, inBackup = false;
      for (const auto& [path, bytes] : after) {
        if (bytes.find(message.text + "\r\n") == std::string::npos) continue;
        (IsBackupName(path) ? inBackup : inLog) = true;
      }
      EXPECT_TRUE(inLog || inBackup) << name << ", round " << round << ": " << message.text << " is in no file\n"
                                     << end.err;
      // What a host writes into the old file after the run's last look (just
      // before it ends), the run can't tell of.
      if (inBackup && !inLog && message.written + kLastLook < ended) onlyInBackup = true;
    }
    EXPECT_TRUE(said || !onlyInBackup) << name << ", round " << round
                                       << ": messages only in a backup, and the run did not say so (" << end.status
                                       << ")\n"
                                       << end.err;
    if (said) ++told;
  }
  std::printf(
      "[robustness] host %s while kiv-batch %s: %d rounds, %d messages written, %d splits taken back, "
      "%d runs told of messages only in a backup or a displaced file\n",
      name, undo ? "splits and undoes" : "splits", rounds, written, takenBack, told);
}

TEST(HostWrites, ReopeningTheLogForEachMessage) {
  SplitWhileTheHostWrites(Host::ReopensForEachMessage, "reopening the log");
}

TEST(HostWrites, KeepingTheLogOpen) { SplitWhileTheHostWrites(Host::KeepsTheLogOpen, "keeping the log open"); }

TEST(HostWrites, DuringAnUndo) {
  SplitWhileTheHostWrites(Host::ReopensForEachMessage, "reopening the log", true);
  SplitWhileTheHostWrites(Host::KeepsTheLogOpen, "keeping the log open", true);
}

}  // namespace
