// Ctrl-C (SIGINT) and SIGTERM sent to kiv-batch while it splits, and to
// TORBLEN while it rewrites a big archive list, at moments spread over a whole
// run: the program ends on the first signal with a status that says so, and
// leaves no temporary file behind, without any later run: the file being
// split is taken back, one already committed stays split.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/robustness/commit_judge.h"

namespace {

using Clock = std::chrono::steady_clock;

long Micros(Clock::time_point from) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - from).count());
}

// Ended by the signal, or by itself before the signal came.
bool EndedAsAsked(const robust::ChildEnd& end, int signal) {
  return end.signal == signal || (end.exited && end.status == 0);
}

TEST(Interrupt, KivBatchSplitTakesBackTheFileInProgress) {
  TempDir tmp;
  samplegen::SharedFolderOptions options;
  options.seed = 31;
  options.forums = 1;
  options.rooms = 2;
  options.sizeBytes = 1 << 20;
  const robust::Scenario s{"split",
                           options,
                           {"--rooms", "1,2", "--kind", "both", "--method", "1", "--number", "500", "--form", "1"},
                           "",
                           {}};
  const robust::Judge judge(s, tmp);
  long micros = 0;
  {
    const auto start = Clock::now();
    robust::ChildEnd end = robust::RunScenario(s, robust::MakeSharedFolder(tmp.Sub("timing"), options));
    micros = Micros(start);
    ASSERT_EQ(end.status, 0) << end.err;
  }
  int tried = 0, stopped = 0, clean = 0;
  for (int signal : {SIGINT, SIGTERM}) {
    for (int i = 0; i < 12; ++i) {
      const std::string root =
          robust::MakeSharedFolder(tmp.Sub("run-" + std::to_string(signal) + "-" + std::to_string(i)), options);
      robust::ChildRun how;
      how.signal = signal;
      how.delayMicros = micros * (i + 1) / 13;
      robust::ChildEnd end = robust::RunScenario(s, root, how);
      ++tried;
      if (end.signal == signal) ++stopped;
      std::vector<std::string> breaches;
      if (!EndedAsAsked(end, signal)) breaches.push_back("ended otherwise: " + std::to_string(end.status));
      for (const std::string& b : judge.AfterKill(root)) breaches.push_back(b);
      for (const std::string& b : judge.Settled(root)) breaches.push_back(b);
      for (const std::string& b : breaches) {
        ADD_FAILURE() << "signal " << signal << " after " << how.delayMicros << " us: " << b << "\n" << end.err;
      }
      if (breaches.empty()) ++clean;
      std::error_code ec;
      std::filesystem::remove_all(root, ec);
    }
  }
  std::printf(
      "[robustness] kiv-batch split interrupted: %d signals sent, %d runs ended by them, %d left the folder "
      "whole with no temporary file\n",
      tried, stopped, clean);
}

TEST(Interrupt, TorblenLeavesTheListItWasRewriting) {
  TempDir tmp;
  samplegen::SharedFolderOptions options;
  options.seed = 32;
  options.forums = 1;
  options.rooms = 1;
  options.messages = 10;
  const std::string shared = robust::MakeSharedFolder(tmp.Sub("shared"), options);
  const std::string forum = robust::ForumOf(shared);
  // A big list, every other line naming a file that is gone.
  std::string list;
  for (int i = 0; list.size() < (24u << 20); ++i) {
    list += (i % 2 ? "M GONE.LOG " : "M MES_01.LOG ") + std::to_string(i) + " " + std::string(80, 'x') + "\r\n";
  }
  MakeDir(tmp.Sub("config"));
  MakeDir(tmp.Sub("config/Orvanta"));
  WriteBytes(tmp.Sub("config/Orvanta/Tallowick.conf"), "[Setting]\nLOGFILE=" + shared + "\n");
  robust::ChildRun how;
  how.env = {{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_CONFIG_HOME", tmp.Sub("config")}, {"KIV_MESSAGE_ANSWERS", ""}};
  how.timeoutSeconds = 60;

  long micros = 0;
  std::string rewritten;
  {
    WriteBytes(forum + "/AR.LST", list);
    const auto start = Clock::now();
    robust::ChildEnd end = robust::RunChild(KIV_TORBLEN_EXE, {"/KIV"}, how);
    micros = Micros(start);
    ASSERT_EQ(end.status, 0) << end.err;
    rewritten = ReadBytes(forum + "/AR.LST");
    ASSERT_NE(rewritten, list);
  }
  int tried = 0, stopped = 0;
  for (int signal : {SIGINT, SIGTERM}) {
    for (int i = 0; i < 6; ++i) {
      WriteBytes(forum + "/AR.LST", list);
      how.signal = signal;
      how.delayMicros = micros * (i + 1) / 7;
      robust::ChildEnd end = robust::RunChild(KIV_TORBLEN_EXE, {"/KIV"}, how);
      ++tried;
      if (end.signal == signal) ++stopped;
      EXPECT_TRUE(EndedAsAsked(end, signal)) << "signal " << signal << ": " << end.status << " " << end.err;
      const std::string now = ReadBytes(forum + "/AR.LST");
      EXPECT_TRUE(now == list || now == rewritten)
          << "signal " << signal << " after " << how.delayMicros << " us: the list is neither as it was nor rewritten";
      for (const auto& item : std::filesystem::directory_iterator(forum)) {
        EXPECT_EQ(item.path().filename().string().find("AR.LST."), std::string::npos)
            << "signal " << signal << ": " << item.path() << " left";
      }
    }
  }
  std::printf("[robustness] TORBLEN interrupted: %d signals sent, %d runs ended by them\n", tried, stopped);
}

}  // namespace
