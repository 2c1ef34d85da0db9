#pragma once
// Small logs written the way the host writes them (CP932, CR LF), and an
// engine object with recording ports, for the engine's tests.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/log_file.h"
#include "messages/scripted_messages.h"
#include "platform/local_time.h"
#include "tests/support/temp_dir.h"

namespace logtext {

inline std::string Dos(const std::string& lf) {
  std::string out;
  for (char c : lf) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

inline std::string Format(const char* format, int a, int b = 0) {
  char buf[160];
  std::snprintf(buf, sizeof buf, format, a, b);
  return buf;
}

// Headers of the four forms (LF ends); the body forms take two lines.
inline std::string BodyHeader(int n) { return Format("%05d/%05d ABC12345  subject\n(A1)   98/02/10 12:34\n", n, n); }
inline std::string ShortBodyHeader(int n) { return Format("%03d/%03d   XYZ00001 re\n(B2)   98/02/10  9:05\n", n, n); }
inline std::string TitleLine(int n) { return Format(" %5d ABC12345 02/10 12:34 ----- %3d subject\n", n, 12); }
inline std::string ShortTitleLine(int n) { return Format(" %3d ABC12345 02/10  9:05 --- %3d subject\n", n, 7); }

// A whole body message: its header and a line of CP932 text.
inline std::string BodyMessage(int n) {
  return BodyHeader(n) + "\x82\xa0\x82\xa2 \xb1\xb2 " + std::to_string(n) + "\n";
}

inline const std::string kForumHeader = "- FORUMX  MES( 5):5\x94\xd4\x89\xef\x8b\x63\x8e\xba 98/01/01 -\n";

class RecordingProgress : public ProgressPort {
 public:
  void SetProgressAction(const std::string& a) override { action = a; }
  void BeginProgress() override { calls.push_back("begin"); }
  void StepProgress(int percent) override { calls.push_back(std::to_string(percent)); }
  void EndProgress() override { calls.push_back("end"); }
  void Pulse(int) override { ++pulses; }
  std::string action;
  int pulses = 0;
  std::vector<std::string> calls;
};

// A forum folder with one log entry of room 5, and the ports.
struct EngineBench {
  EngineBench(const std::string& logName, int kind)
      : clock(plat::MakeLocalTime(1998, 2, 10, 12)), messenger(port, mode) {
    entry.name = logName;
    entry.kind = kind;
    entry.room = 5;
  }
  std::string Path(const std::string& name) const { return dir.Sub(name); }
  void Put(const std::string& name, const std::string& lfText) { WriteBytes(Path(name), Dos(lfText)); }
  std::unique_ptr<CLogFile> MakeLog() {
    return std::make_unique<CLogFile>(dir.path(), &entry, messenger, progress, clock);
  }
  bool Analyze(CLogFile::ScanMode scan = CLogFile::ScanMode::BySize) {
    auto log = MakeLog();
    bool found = log->Open() && log->Analyze(scan);
    log->Close();
    return found;
  }

  TempDir dir;
  CFileEntry entry;
  FixedClock clock;
  ScriptedMessages port;
  CompanionMode mode;
  Messenger messenger;
  RecordingProgress progress;
};

}  // namespace logtext
