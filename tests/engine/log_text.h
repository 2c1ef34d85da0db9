#pragma once
// Small logs written the way the host writes them, for the engine's tests:
// CP932 text, CR LF line ends, and the reading object with its ports.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/log_file.h"
#include "platform/local_time.h"
#include "ports/progress.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace logtext {

// Message text in CP932: "あいう" and a half-width katakana run.
inline const std::string kJapanese = "\x82\xa0\x82\xa2\x82\xa4 \xb1\xb2\xb3";

// LF line ends made CR LF, as on disk.
inline std::string Dos(const std::string& lf) {
  std::string out;
  for (char c : lf) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// A body header of the five-digit form (two lines, LF ends).
inline std::string BodyHeader(int number, const char* id = "ABC12345") {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%05d/%05d %s  subject %d\n(A1)   98/02/10 12:34\n", number, number, id,
                number);
  return buf;
}

// A body header of the three-digit form.
inline std::string ShortBodyHeader(int number) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%03d/%03d   XYZ00001 re: %d\n(B2)   98/02/10  9:05\n", number, number,
                number);
  return buf;
}

// A title line with the number in five columns.
inline std::string TitleLine(int number) {
  char buf[160];
  std::snprintf(buf, sizeof buf, " %5d ABC12345 02/10 12:34 ----- %3d subject\n", number, 12);
  return buf;
}

// A title line with the number in three columns.
inline std::string ShortTitleLine(int number) {
  char buf[160];
  std::snprintf(buf, sizeof buf, " %3d ABC12345 02/10  9:05 --- %3d subject\n", number, 7);
  return buf;
}

// One whole body message: its header and a line of text.
inline std::string BodyMessage(int number) {
  return BodyHeader(number) + kJapanese + " body of " + std::to_string(number) + "\n";
}

inline const std::string kForumHeader = "- FORUMX  MES( 5):5\x94\xd4\x89\xef\x8b\x63\x8e\xba 98/01/01 -\n";

// Records the calls the engine makes on the progress display.
class RecordingProgress : public ProgressPort {
 public:
  void SetProgressAction(const std::string& a) override { action = a; }
  void BeginProgress() override { calls.push_back("begin"); }
  void StepProgress(int percent) override { calls.push_back(std::to_string(percent)); }
  void EndProgress() override { calls.push_back("end"); }

  std::string action;
  std::vector<std::string> calls;
};

// A forum folder with one log entry, and the ports an engine object needs.
struct EngineBench {
  EngineBench(const std::string& logName, int kind)
      : clock(plat::MakeLocalTime(1998, 2, 10, 12, 0)), messenger(port, mode) {
    entry.name = logName;
    entry.kind = kind;
    entry.room = 5;
  }

  std::string Path(const std::string& name) const { return dir.Sub(name); }
  void Put(const std::string& name, const std::string& lfText) { WriteBytes(Path(name), Dos(lfText)); }
  std::unique_ptr<CLogFile> MakeLog() {
    return std::make_unique<CLogFile>(dir.path(), &entry, messenger, progress, clock);
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
