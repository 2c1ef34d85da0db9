// kiv-samplegen: makes sample shared log folders and single logs for tests,
// the demo and benchmarks.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/encoding.h"
#include "tools/samplegen/log_writer.h"
#include "tools/samplegen/shared_folder.h"

namespace {

const char kHelp[] =
    "usage: kiv-samplegen DIR [options]        make a sample shared log folder\n"
    "       kiv-samplegen --log FILE [options] write one body or title log\n"
    "\n"
    "DIR gets FORUM1, FORUM2, GROUP1/FORUM3.. (each with MES.LOG, MES_nn.LOG and\n"
    "MES#nn.LOG) and an HP folder that is no forum. Output is CP932 with CR LF;\n"
    "the same seed gives the same bytes and file times. Existing files are kept:\n"
    "generating over an earlier sample fails.\n"
    "\n"
    "  --seed N          seed of everything drawn (default 1)\n"
    "  --forums N        number of forum folders (default 4)\n"
    "  --rooms N         rooms per forum, 1 to 20 (default 3)\n"
    "  --messages N      messages per room (default: 8 to 40 drawn from the seed)\n"
    "  --size BYTES      grow each body log to at least BYTES instead (K, M, G suffixes)\n"
    "  --first N         number of the first message (default 1)\n"
    "  --shuffle         message numbers out of order (runs of eight shuffled)\n"
    "  --long-lines      some lines longer than 1023 bytes\n"
    "  --mixed           a title-format line inside a body log (FORUM1 room 1)\n"
    "  --archive         old logs of room 1 listed in AR.LST\n"
    "  --big-numbers     allow numbers up to 99999 (normally at most 65536)\n"
    "\n"
    "single log (--log FILE):\n"
    "  --kind body|title kind of log (default body)\n"
    "  --template 1-4    header layout (default 1 for body, 3 for title)\n"
    "  --room N          room number for the forum header line (default 1)\n"
    "  --forum NAME      forum name for the forum header line (default FORUM1)\n"
    "  --lines N         mean text lines per message (default 6, more for --size)\n"
    "  --no-forum-header body log without its first line \"- ... -\"\n"
    "  --force           overwrite FILE when it exists\n"
    "  and --seed --messages --size --first --shuffle --long-lines --mixed --big-numbers\n"
    "  A summary of what was written goes to standard output.\n";

bool ParseCount(const char* text, std::uint64_t* out) {
  char* end = nullptr;
  unsigned long long v = std::strtoull(text, &end, 10);
  if (end == text) return false;
  std::uint64_t scale = 1;
  if (*end == 'K' || *end == 'k')
    scale = 1ull << 10, ++end;
  else if (*end == 'M' || *end == 'm')
    scale = 1ull << 20, ++end;
  else if (*end == 'G' || *end == 'g')
    scale = 1ull << 30, ++end;
  if (*end != '\0') return false;
  *out = v * scale;
  return true;
}

int Fail(const std::string& text) {
  std::fprintf(stderr, "kiv-samplegen: %s\n", text.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // Folder names and forum names in UTF-8 on every system.
  plat::PrepareConsole();
  std::vector<std::string> utf8Args = plat::ProgramArguments(argc, argv);
  std::vector<char*> utf8Argv;
  for (std::string& a : utf8Args) utf8Argv.push_back(a.data());
  utf8Argv.push_back(nullptr);
  argc = static_cast<int>(utf8Args.size());
  argv = utf8Argv.data();
  samplegen::SharedFolderOptions folder;
  samplegen::LogOptions log;
  std::string dir, logPath;
  int tpl = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](std::uint64_t* out) {
      if (i + 1 >= argc || !ParseCount(argv[i + 1], out)) return false;
      ++i;
      return true;
    };
    std::uint64_t v = 0;
    if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    } else if (a == "--shuffle") {
      folder.shuffle = log.shuffle = true;
    } else if (a == "--long-lines") {
      folder.longLines = log.longLines = true;
    } else if (a == "--mixed") {
      folder.mixed = log.mixed = true;
    } else if (a == "--archive") {
      folder.archive = true;
    } else if (a == "--big-numbers") {
      folder.maxNumber = log.maxNumber = 99999;
    } else if (a == "--no-forum-header") {
      log.forumHeader = false;
    } else if (a == "--force") {
      log.replace = true;
    } else if (a == "--log" || a == "--kind" || a == "--forum") {
      if (i + 1 >= argc) return Fail(a + " needs a value");
      const std::string s = argv[++i];
      if (a == "--log")
        logPath = s;
      else if (a == "--forum")
        log.forumName = plat::Utf8ToCp932(s);
      else if (s == "body")
        log.kind = samplegen::LogKind::Body;
      else if (s == "title")
        log.kind = samplegen::LogKind::Title;
      else
        return Fail("--kind is body or title");
    } else if (a.rfind("--", 0) == 0) {
      if (!value(&v)) return Fail(a + " needs a number (see --help)");
      const int n = static_cast<int>(v);
      if (a == "--seed")
        folder.seed = log.seed = v;
      else if (a == "--forums")
        folder.forums = n;
      else if (a == "--rooms")
        folder.rooms = n;
      else if (a == "--messages")
        folder.messages = log.messages = n;
      else if (a == "--size")
        folder.sizeBytes = log.targetBytes = v;
      else if (a == "--first")
        folder.first = log.first = n;
      else if (a == "--template")
        tpl = n;
      else if (a == "--room")
        log.room = n;
      else if (a == "--lines")
        log.meanLines = n;
      else
        return Fail("unknown option " + a + " (see --help)");
    } else if (dir.empty()) {
      dir = a;
    } else {
      return Fail("one folder only (see --help)");
    }
  }

  if (!logPath.empty()) {
    if (tpl != 0) {
      if (tpl < 1 || tpl > 4) return Fail("--template is 1 to 4");
      log.layout = static_cast<samplegen::HeaderTemplate>(tpl);
      log.kind = samplegen::IsBodyTemplate(*log.layout) ? samplegen::LogKind::Body : samplegen::LogKind::Title;
    }
    const samplegen::LogResult r = samplegen::WriteLogFile(logPath, log);
    if (!r.ok) return Fail(r.error);
    std::printf("%s: %d messages, lowest %d, highest %d, %llu bytes, %d lines", logPath.c_str(), r.messages, r.lowest,
                r.highest, static_cast<unsigned long long>(r.bytes), r.readerLines);
    if (r.mixedLine) std::printf(", mixed line %d", r.mixedLine);
    if (r.longLines) std::printf(", %d long lines", r.longLines);
    std::printf("\n");
    return 0;
  }
  if (dir.empty()) return Fail("no folder given (see --help)");
  const samplegen::SharedFolderResult r = samplegen::GenerateSharedFolder(dir, folder);
  if (!r.ok) return Fail(r.error);
  return 0;
}
