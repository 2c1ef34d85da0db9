// What every installed program answers to --help and --version.
#include "resources/program_info.h"

#include <gtest/gtest.h>

#include "resources/ids.h"
#include "resources/string_table.h"
#include "resources/version.h"

namespace {

std::optional<std::string> Answer(std::vector<const char*> args) {
  args.insert(args.begin(), "TORBLEN");
  return InfoRequestAnswer("TORBLEN", "usage: TORBLEN [/KIV]", static_cast<int>(args.size()), args.data());
}

TEST(ProgramInfo, TheReleaseIsTheOneTheAboutBoxShows) {
  // The About box and the window title show the string table's version; the
  // package and --version show the project's. They must not drift apart.
  EXPECT_EQ(std::string(KIV_VERSION), std::string(KivString(ids::kStrVersion)));
  EXPECT_EQ(VersionLine("kiv-batch"), std::string("kiv-batch (Kiv) ") + KIV_VERSION);
  EXPECT_EQ(VersionLine("Kiv"), std::string("Kiv ") + KIV_VERSION);
}

TEST(ProgramInfo, HelpAndVersionAreAnsweredOnlyAsTheFirstArgument) {
  EXPECT_EQ(Answer({"--version"}), VersionLine("TORBLEN") + "\n");
  EXPECT_EQ(Answer({"--help"}), "usage: TORBLEN [/KIV]\n");
  EXPECT_EQ(Answer({"-h", "/KIV"}), "usage: TORBLEN [/KIV]\n");
  EXPECT_EQ(Answer({}), std::nullopt);
  EXPECT_EQ(Answer({"/KIV"}), std::nullopt);
  EXPECT_EQ(Answer({"/KIV", "--help"}), std::nullopt);
  EXPECT_EQ(Answer({"--versions"}), std::nullopt);
  EXPECT_EQ(Answer({"-help"}), std::nullopt);
}

}  // namespace
