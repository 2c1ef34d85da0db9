#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "commands/launch_command.h"
#include "platform/command_line.h"
#include "platform/process_start.h"
#include "resources/ids.h"
#include "tests/commands/forum_fixture.h"

namespace {

class RecordingLauncher : public ProcessLauncher {
 public:
  bool Start(const std::string& p, const std::vector<std::string>& a, int* err) override {
    program = p;
    args = a;
    ++starts;
    if (!succeed && err) *err = ENOENT;
    return succeed;
  }
  std::string program;
  std::vector<std::string> args;
  int starts = 0;
  bool succeed = true;
};

using Args = std::vector<std::string>;

}  // namespace

TEST(LaunchCommandLine, TheFirstFolderMarkBecomesTheQuotedPathAfterASpace) {
  EXPECT_EQ(BuildLaunchCommandLine("C:\\TOOLS\\VIEW.EXE", "-d%D", "C:\\LOG\\RURIRIR"),
            "C:\\TOOLS\\VIEW.EXE -d \"C:\\LOG\\RURIRIR\"");
  EXPECT_EQ(BuildLaunchCommandLine("/t/view", "%D %D", "/log/F"), "/t/view  \"/log/F\" %D");
  EXPECT_EQ(BuildLaunchCommandLine("/t/view", "-v", "/log/F"), "/t/view -v");
  // A program path with a blank stays the program name.
  EXPECT_EQ(SplitCommandLine(BuildLaunchCommandLine("/opt/my tools/view", "-v", "/l")),
            (Args{"/opt/my tools/view", "-v"}));
}

TEST(LaunchCommandLine, SplittingFollowsTheQuoteAndBackslashRules) {
  EXPECT_EQ(SplitCommandLine("prog a\\\\b \"c d\" e\\\"f \"g\\\\\" h"),
            (Args{"prog", "a\\\\b", "c d", "e\"f", "g\\", "h"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\x.exe\" \"say \"\"hi\"\"\"  "),
            (Args{"C:\\Program Files\\x.exe", "say \"hi\""}));
  EXPECT_EQ(SplitCommandLine("  "), Args{});
  for (const std::string& path :
       {std::string("C:\\LOG\\"), std::string("a \"b\" \\\"c\\\\"), std::string("$(touch x) `id` ;|&")}) {
    EXPECT_EQ(SplitCommandLine("p " + QuoteArgument(path)), (Args{"p", path})) << path;
  }
}

TEST(LaunchCommand, StartsOnlyWhenProgramAndOptionsAreSetAndReportsAFailure) {
  ForumFixture f;
  RecordingLauncher launcher;
  EXPECT_FALSE(OnExternalLaunch(f.ctx, launcher));
  f.doc->m_strExeFile1 = "/usr/bin/view";
  EXPECT_FALSE(OnExternalLaunch(f.ctx, launcher)) << "options empty";
  EXPECT_EQ(launcher.starts, 0);
  f.doc->m_strExeOpt1 = "-d%D";
  EXPECT_TRUE(OnExternalLaunch(f.ctx, launcher));
  EXPECT_EQ(launcher.program, "/usr/bin/view");
  EXPECT_EQ(launcher.args, (Args{"/usr/bin/view", "-d", f.forum}));
  EXPECT_TRUE(f.messages.boxes.empty());

  launcher.succeed = false;
  EXPECT_FALSE(OnExternalLaunch(f.ctx, launcher));
  ASSERT_EQ(f.messages.boxes.size(), 1u);
  EXPECT_EQ(f.messages.boxes[0].id, ids::kMsgLaunchFailed);
}

TEST(LaunchCommand, AHostileFolderPathReachesTheProgramAsOneArgumentAndRunsNothingElse) {
  TempDir tmp;
#ifdef _WIN32
  // A Windows folder name can hold neither '"' nor '|'; the rest of what cmd.exe would act on, it can.
  const std::string hostile = tmp.Sub("a b $(touch x) `touch y`; touch z & echo w ^ %PATH% \xE8\xA1\xA8");
  MakeDir(hostile);
  const std::string script = KIV_RECORD_ARGS_EXE;
  const std::string out = tmp.Sub("args.txt");
  ASSERT_EQ(::_putenv_s("KIV_RECORD_ARGS_OUT", out.c_str()), 0);
#else
  const std::string hostile = tmp.Sub("a \"b\" $(touch x) `touch y`; touch z");
  MakeDir(hostile);
  const std::string script = tmp.Sub("record-args");
  const std::string out = tmp.Sub("args.txt");
  WriteBytes(script, "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > '" + out + "'\n");
  ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
#endif

  ForumFixture f;
  f.dir->path = hostile;
  f.doc->m_strExeFile1 = script;
  f.doc->m_strExeOpt1 = "-d %D";
  SpawnLauncher launcher;
  const auto cwdBefore = std::filesystem::current_path();
  std::filesystem::current_path(FsPath(tmp.path()));
  ASSERT_TRUE(OnExternalLaunch(f.ctx, launcher));
  for (int i = 0; i < 200 && ReadBytes(out).empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::filesystem::current_path(cwdBefore);

  EXPECT_EQ(ReadBytes(out), "[-d]\n[" + hostile + "]\n");
  for (const char* stray : {"x", "y", "z"}) {
    EXPECT_FALSE(std::filesystem::exists(FsPath(tmp.Sub(stray)))) << stray;
    EXPECT_FALSE(std::filesystem::exists(FsPath(hostile + "/" + stray))) << stray;
  }

  f.doc->m_strExeFile1 = tmp.Sub("no-such-program");
  EXPECT_FALSE(OnExternalLaunch(f.ctx, launcher));
  EXPECT_EQ(f.messages.boxes.size(), 1u);
}
