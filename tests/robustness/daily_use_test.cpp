// Daily use of one shared log folder, simulated: two forums of three rooms;
// each day the host appends messages to every room's body and title log
// (opening, appending and closing for each), then kiv-batch splits every room
// with --overwrite --export. Drawn from a seed, some days' runs are killed
// (at a file operation or after a delay) and repaired by the next day's run,
// some days a second kiv-batch runs on the forum at the same time, and some
// days a session splits, undoes a room and exports while the host writes.
// Judged by the outcome, whichever run wins: every message the host wrote is
// in exactly one log or old log, every body old log has one AR.LST line and
// no line names a file that is gone, and no commit file is left.
//
// KIV_SIM_DAYS (default 3), KIV_SIM_SEED (default 1) and KIV_SIM_MESSAGES
// (per room and day, default 1100) make longer runs.
//
// kiv-batch names old logs by month, 26 letters a forum; a daily split of
// three rooms would use them up on the ninth day of a month. So each
// simulated day is dated a month after the one before (KIV_TODAY of
// kiv-batch-killable, and the messages' own dates).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "tests/robustness/child_process.h"
#include "tests/robustness/commit_judge.h"
#include "tests/robustness/folder_snapshot.h"
#include "tests/support/temp_dir.h"
#include "tools/samplegen/civil_time.h"
#include "tools/samplegen/header_format.h"
#include "tools/samplegen/message_fields.h"
#include "tools/samplegen/prng.h"
#include "tools/samplegen/shared_folder.h"
#include "tools/samplegen/text_pool.h"

namespace {

constexpr int kForums = 2;
constexpr int kRooms = 3;
constexpr int kFirst = 1000;         // four-digit numbers from the start: every room keeps the five-column layout
constexpr int kSampleMessages = 40;  // untagged; the host's messages follow them
constexpr int kHostFirst = kFirst + kSampleMessages;
constexpr int kNumbers = 65536;
const std::vector<std::string> kDailySplit{"--rooms",  "1,2,3", "--kind",      "both",
                                           "--number", "100",   "--overwrite", "--export"};

int EnvInt(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::atoi(value) : fallback;
}

samplegen::CivilTime MonthOf(int day) { return {1999 + day / 12, 1 + day % 12, 1, 0, 0}; }

std::string CrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// Each message names itself in its subject, so it is found in any file.
constexpr char kTag[] = "{kivsim F";

std::string Tag(int forum, int room, int number) {
  char tag[48];
  std::snprintf(tag, sizeof tag, " %s%d R%d N%05d}", kTag, forum, room, number);
  return tag;
}

struct Append {
  std::string path;
  std::string bytes;
};

// Message `number` of a room as the host appends it: the body log's text,
// then the title log's line, in the sample generator's formats.
void AddMessage(std::vector<Append>& out, const std::string& forumPath, std::uint64_t seed, int forum, int room,
                int number, int day, int indexInDay, int perDay) {
  samplegen::MessageKey key;
  key.seed = samplegen::DeriveSeed(seed, 0xF0, static_cast<std::uint64_t>(forum));
  key.room = room;
  key.index = number - kFirst;
  key.number = number;
  key.first = kFirst;
  key.meanLines = 3;
  key.start = MonthOf(day);
  samplegen::MessageFields m = samplegen::MakeMessageFields(key);
  m.when = samplegen::AddMinutes(MonthOf(day), static_cast<std::int64_t>(indexInDay) * 27 * 1440 / perDay);
  m.subject += Tag(forum, room, number);
  std::string body = CrLf(samplegen::FormatHeader(samplegen::HeaderTemplate::Body5, m));
  samplegen::Prng rng(
      samplegen::DeriveSeed(key.seed, static_cast<std::uint64_t>(room), static_cast<std::uint64_t>(number)));
  for (int i = 0; i < m.bodyLines; ++i) body += samplegen::TextPool::Get().BodyLine(rng) + "\r\n";
  body += "\r\n";
  char name[16];
  std::snprintf(name, sizeof name, "/MES_%02d.LOG", room);
  out.push_back({forumPath + name, std::move(body)});
  std::snprintf(name, sizeof name, "/MES#%02d.LOG", room);
  out.push_back({forumPath + name, CrLf(samplegen::FormatHeader(samplegen::HeaderTemplate::Title5, m))});
}

// The host: after a wait, opens, appends and closes for each piece, pausing
// between them.
// Nothing is allocated here, so a kiv-batch forked meanwhile starts clean.
int HostWrites(std::span<const Append> appends, long waitMicros, long pauseMicros) {
  int failed = 0;
  if (waitMicros > 0) ::usleep(static_cast<useconds_t>(waitMicros));
  for (const Append& a : appends) {
    const int fd = ::open(a.path.c_str(), O_WRONLY | O_APPEND);
    if (fd < 0 || ::write(fd, a.bytes.data(), a.bytes.size()) != static_cast<ssize_t>(a.bytes.size())) ++failed;
    if (fd >= 0) ::close(fd);
    if (pauseMicros > 0) ::usleep(static_cast<useconds_t>(pauseMicros));
  }
  return failed;
}

struct Tally {
  long written = 0, once = 0, lost = 0, duplicated = 0, stranded = 0, kept = 0;
  long listMissing = 0, dangling = 0, leftovers = 0, bad = 0;
  std::vector<std::string> details;  // the first few of each kind of fault
  bool Clean() const { return lost + duplicated + stranded + listMissing + dangling + leftovers + bad == 0; }
  void Note(long count, const std::string& what) {
    if (count <= 3) details.push_back(what);
  }
};

// Logs and old logs; backups, which a later split may replace; files kept
// under a name no split replaces (MES_nn.Unn), of which the run told.
enum Place { kLogs, kBackups, kKept, kPlaces };

bool DigitsFrom(const std::string& s, std::size_t at) {
  return s.size() >= at + 2 && s.find_first_not_of("0123456789", at) == std::string::npos;
}

// Counts every message of one forum where it lies: the logs and old logs,
// or a backup or a file an undo kept (MES_nn.Bnn, .BAK, MES_nn.Unn).
void CountForum(const std::string& forumPath, int forum, const std::array<int, kRooms + 1>& next, Tally& t) {
  const robust::Snapshot files = robust::TakeSnapshot(forumPath);
  // [kind][room][number - kFirst][place]
  std::vector<std::array<unsigned char, kPlaces>> seen(2 * (kRooms + 1) * (kNumbers - kFirst + 1));
  auto slot = [](int title, int room, int number) {
    return (static_cast<std::size_t>(title) * (kRooms + 1) + static_cast<std::size_t>(room)) * (kNumbers - kFirst + 1) +
           static_cast<std::size_t>(number - kFirst);
  };
  for (const auto& [name, bytes] : files) {
    if (robust::IsCommitFile(name)) {
      if (name.ends_with(".BAD")) {
        t.Note(++t.bad, "FORUM" + std::to_string(forum) + "/" + name + " kept aside");
      } else {
        t.Note(++t.leftovers, "FORUM" + std::to_string(forum) + "/" + name + " left");
      }
      continue;
    }
    if (name == "MES.LOG" || name == "AR.LST" || name.ends_with(".KIV")) continue;
    const std::string ext = name.substr(name.rfind('.') + 1);
    const Place place = ext == "BAK" || (ext[0] == 'B' && DigitsFrom(ext, 1)) ? kBackups
                        : ext[0] == 'U' && DigitsFrom(ext, 1)                 ? kKept
                                                                              : kLogs;
    const int title = name.find('#') != std::string::npos ? 1 : 0;
    for (std::size_t at = 0; (at = bytes.find(kTag, at)) != std::string::npos; ++at) {
      int f = 0, room = 0, number = 0;
      if (std::sscanf(bytes.c_str() + at + sizeof kTag - 1, "%d R%d N%d}", &f, &room, &number) != 3 || f != forum ||
          room < 1 || room > kRooms || number < kHostFirst || number >= next[static_cast<std::size_t>(room)]) {
        t.Note(++t.duplicated, "FORUM" + std::to_string(forum) + "/" + name +
                                   ": a message the host never wrote: " + bytes.substr(at, 30));
        continue;
      }
      unsigned char& n = seen[slot(title, room, number)][place];
      if (n < 255) ++n;
    }
  }
  for (int title = 0; title < 2; ++title) {
    for (int room = 1; room <= kRooms; ++room) {
      for (int number = kHostFirst; number < next[static_cast<std::size_t>(room)]; ++number) {
        const auto& n = seen[slot(title, room, number)];
        ++t.written;
        const std::string what = "FORUM" + std::to_string(forum) + (title ? " title" : " body") + " room " +
                                 std::to_string(room) + " message " + std::to_string(number);
        if (n[kLogs] == 1) {
          ++t.once;
        } else if (n[kLogs] > 1) {
          t.Note(++t.duplicated, what + " is in " + std::to_string(n[kLogs]) + " logs or old logs");
        } else if (n[kKept] > 0) {
          ++t.kept;
        } else if (n[kBackups] > 0) {
          t.Note(++t.stranded, what + " is only in a backup");
        } else {
          t.Note(++t.lost, what + " is in no file");
        }
      }
    }
  }
  // One AR.LST line for every body old log, none for a file that is gone.
  std::map<std::string, int> lines;
  auto list = files.find("AR.LST");
  const std::string text = list == files.end() ? std::string() : list->second;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::size_t space = text.find(' ', at + 2);
    if (text.compare(at, 2, "M ") == 0 && space < end) ++lines[text.substr(at + 2, space - at - 2)];
    at = end + 1;
  }
  for (const auto& [name, bytes] : files) {
    if (!name.starts_with("AR_") || !name.ends_with(".LOG")) continue;
    auto it = lines.find(name);
    if (it == lines.end() || it->second != 1) {
      t.Note(++t.listMissing, "FORUM" + std::to_string(forum) + "/" + name + " has " +
                                  std::to_string(it == lines.end() ? 0 : it->second) + " AR.LST lines");
    }
  }
  for (const auto& [name, n] : lines) {
    if (files.count(name)) continue;
    t.dangling += n;
    t.Note(t.dangling, "FORUM" + std::to_string(forum) + "/AR.LST names " + name + ", which is gone");
  }
}

struct Runs {
  int runs = 0, killed = 0, refused = 0, undoRefused = 0, sessions = 0, pairs = 0;
  std::vector<std::string> breaches;
  std::vector<std::string> told;  // every run's end and the first line of what it said, shown on a fault
};

// The first line of each message a run wrote, but the questions every split asks.
std::string Captions(const std::string& err) {
  std::string out;
  bool first = true;
  for (std::size_t at = 0; at < err.size();) {
    std::size_t end = err.find('\n', at);
    if (end == std::string::npos) end = err.size();
    const std::string line = err.substr(at, end - at);
    const bool asked = line.starts_with("実行確認") || line.starts_with("上書き");
    if (first && !line.empty() && !asked) out += "\n    " + line;
    first = line.empty();
    at = end + 1;
  }
  return out;
}

// A run that was not stopped ends with 0, or with 1 saying why.
void JudgeRun(const robust::ChildEnd& end, bool mayBeKilled, const std::string& label, Runs& r) {
  ++r.runs;
  const std::string ended = end.signal ? "signal " + std::to_string(end.signal) : "exit " + std::to_string(end.status);
  r.told.push_back(label + ": " + ended + Captions(end.err));
  if (mayBeKilled && end.signal == SIGKILL && !end.timedOut) {
    ++r.killed;
    return;
  }
  if (end.timedOut || !end.exited || end.status > 1 || (end.status == 1 && end.err.empty())) {
    r.breaches.push_back(
        label + ": " +
        (end.timedOut ? "timed out" : "exit " + std::to_string(end.status) + " signal " + std::to_string(end.signal)) +
        "\n" + end.err);
  }
  if (end.status == 1) ++r.refused;
  if (end.err.find("ログファイルが更新されています") != std::string::npos) ++r.undoRefused;
}

TEST(DailyUse, AMonthOfSplitsWithKillsSecondRunsAndUndos) {
  const int days = EnvInt("KIV_SIM_DAYS", 3);
  const std::uint64_t seed = static_cast<std::uint64_t>(EnvInt("KIV_SIM_SEED", 1));
  const int perDay = EnvInt("KIV_SIM_MESSAGES", 1100);
  ASSERT_LE(kHostFirst + days * perDay - 1, kNumbers) << "the numbers would pass 65536";
  TempDir tmp;
  samplegen::SharedFolderOptions options;
  options.seed = seed;
  options.forums = kForums;
  options.rooms = kRooms;
  options.messages = kSampleMessages;
  options.first = kFirst;
  const std::string root = robust::MakeSharedFolder(tmp.Sub("shared"), options);
  std::array<std::array<int, kRooms + 1>, kForums + 1> next{};
  for (auto& forum : next) forum.fill(kHostFirst);

  const auto start = std::chrono::steady_clock::now();
  Runs runs;
  std::vector<std::string> firstFaults;  // each as the first day's check found it
  int operations = 400;                  // of a daily split; measured on the first plain day
  long runMicros = 300000;
  const std::string opsFile = tmp.Sub("ops");
  std::set<std::string> seenFaults;
  for (int day = 0; day < days; ++day) {
    samplegen::CivilTime today = MonthOf(day);
    today.day = 28;
    today.hour = 23;
    const std::string todayEnv = std::to_string(static_cast<long long>(samplegen::ToLocalTime(today)));
    for (int forum = 1; forum <= kForums; ++forum) {
      const std::string forumPath = root + "/FORUM" + std::to_string(forum);
      samplegen::Prng rng(
          samplegen::DeriveSeed(seed, 0xDA7, static_cast<std::uint64_t>(day), static_cast<std::uint64_t>(forum)));
      enum Kind { kPlain, kKilled, kTwoRuns, kSession };
      // The first four forum-days have one of each kind, so even a short run
      // sees them all; then 4 in 10 are plain.
      const int slot = day * kForums + forum - 1;
      const std::uint32_t draw = rng.Below(10);
      const Kind kind = slot < 4   ? static_cast<Kind>((static_cast<std::uint64_t>(slot) + seed) % 4)
                        : draw < 4 ? kPlain
                        : draw < 6 ? kKilled
                        : draw < 8 ? kTwoRuns
                                   : kSession;
      // Most of the day's messages come before the run; on some days the
      // last few of each room come while it runs, at a moment drawn.
      const bool hostDuring = kind == kSession || rng.OneIn(2);

      std::vector<Append> appends;
      auto& numbers = next[static_cast<std::size_t>(forum)];
      for (int i = 0; i < perDay; ++i) {
        for (int room = 1; room <= kRooms; ++room) {
          AddMessage(appends, forumPath, seed, forum, room, numbers[static_cast<std::size_t>(room)] + i, day, i,
                     perDay);
        }
      }
      for (int room = 1; room <= kRooms; ++room) numbers[static_cast<std::size_t>(room)] += perDay;
      const std::size_t during = hostDuring ? static_cast<std::size_t>(2 * kRooms * rng.Between(1, 8)) : 0;
      const std::span<const Append> all(appends);
      std::atomic<int> appendFailures{HostWrites(all.first(all.size() - during), 0, 0)};
      std::thread host;
      if (hostDuring) {
        const long wait = static_cast<long>(rng.Below(static_cast<std::uint32_t>(runMicros)));
        const long pause = runMicros / 2 / static_cast<long>(during);
        host = std::thread([all, during, wait, pause, &appendFailures] {
          appendFailures += HostWrites(all.last(during), wait, pause);
        });
      }

      robust::ChildRun how;
      how.env = {{"KIV_TODAY", todayEnv}};
      how.timeoutSeconds = 120;
      std::vector<std::string> split{"split", forumPath};
      split.insert(split.end(), kDailySplit.begin(), kDailySplit.end());
      const std::string label = "day " + std::to_string(day + 1) + " FORUM" + std::to_string(forum);
      const auto runStart = std::chrono::steady_clock::now();
      if (kind == kPlain) {
        how.env.emplace_back("KIV_COUNT_OPS_TO", opsFile);
        JudgeRun(robust::RunChild(KIV_BATCH_KILLABLE, split, how), false, label + " split", runs);
        operations = std::max(10, std::atoi(ReadBytes(opsFile).c_str()));
        runMicros = static_cast<long>(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - runStart).count());
      } else if (kind == kKilled) {
        if (rng.OneIn(2)) {
          how.env.emplace_back("KIV_KILL_AT_OP", std::to_string(rng.Between(1, operations)));
        } else {
          how.signal = SIGKILL;
          how.delayMicros = static_cast<long>(rng.Below(static_cast<std::uint32_t>(runMicros)));
        }
        JudgeRun(robust::RunChild(KIV_BATCH_KILLABLE, split, how), true, label + " split to be killed", runs);
      } else if (kind == kTwoRuns) {
        ++runs.pairs;
        const long delay = static_cast<long>(rng.Below(static_cast<std::uint32_t>(runMicros / 2 + 1)));
        robust::ChildEnd first, second;
        std::thread other([&] { first = robust::RunChild(KIV_BATCH_KILLABLE, split, how); });
        ::usleep(static_cast<useconds_t>(delay));
        second = robust::RunChild(KIV_BATCH_KILLABLE, split, how);
        other.join();
        JudgeRun(first, false, label + " first of two splits", runs);
        JudgeRun(second, false, label + " second of two splits", runs);
      } else {
        ++runs.sessions;
        how.input = "split --rooms 1,2,3 --kind both --number 100 --overwrite\nundo --rooms " +
                    std::to_string(rng.Between(1, kRooms)) + "\nexport\n";
        JudgeRun(robust::RunChild(KIV_BATCH_KILLABLE, {"session", forumPath}, how), false, label + " session", runs);
      }
      if (host.joinable()) host.join();
      if (appendFailures > 0)
        runs.breaches.push_back(label + ": the host could not append " + std::to_string(appendFailures.load()) +
                                " times");
    }
    // A day whose last run was killed is checked after the next day's repair.
    // The days go on after a fault, to show what later runs make of it.
    if (!robust::JournalLeft(root)) {
      Tally daily;
      for (int forum = 1; forum <= kForums; ++forum) {
        CountForum(root + "/FORUM" + std::to_string(forum), forum, next[static_cast<std::size_t>(forum)], daily);
      }
      for (const std::string& d : daily.details) {
        if (seenFaults.insert(d).second && firstFaults.size() < 16) {
          firstFaults.push_back("day " + std::to_string(day + 1) + ": " + d);
        }
      }
    }
  }
  // The next run on each forum repairs what the last day's kill left.
  for (int forum = 1; forum <= kForums; ++forum) {
    JudgeRun(robust::RunChild(KIV_BATCH_KILLABLE, {"list", root + "/FORUM" + std::to_string(forum)}, {}, 120), false,
             "the closing list of FORUM" + std::to_string(forum), runs);
  }
  Tally tally;
  for (int forum = 1; forum <= kForums; ++forum) {
    CountForum(root + "/FORUM" + std::to_string(forum), forum, next[static_cast<std::size_t>(forum)], tally);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf(
      "[robustness] daily use, %d days, seed %llu, %d messages a room a day: %ld messages written "
      "(body and title entries), %ld found once, %ld lost, %ld duplicated, %ld only in a backup, %ld kept "
      "under a name of their own and told, %ld AR.LST lines missing, %ld dangling, %ld leftovers, %ld .BAD; %d runs: %d killed, %d "
      "exited 1, %d undos refused, %d days of two runs, %d sessions; %.1f s\n",
      days, static_cast<unsigned long long>(seed), perDay, tally.written, tally.once, tally.lost, tally.duplicated,
      tally.stranded, tally.kept, tally.listMissing, tally.dangling, tally.leftovers, tally.bad, runs.runs, runs.killed,
      runs.refused, runs.undoRefused, runs.pairs, runs.sessions, seconds);
  if (!tally.Clean() || !firstFaults.empty()) {
    std::string told;
    for (const std::string& t : runs.told) told += t + "\n";
    ADD_FAILURE() << "the runs:\n" << told;
  }
  for (const std::string& d : firstFaults) ADD_FAILURE() << d;
  for (const std::string& d : tally.details) ADD_FAILURE() << "at the end: " << d;
  for (std::size_t i = 0; i < runs.breaches.size() && i < 4; ++i) ADD_FAILURE() << runs.breaches[i];
  EXPECT_TRUE(tally.Clean() && runs.breaches.empty() && firstFaults.empty());
  EXPECT_EQ(tally.once + tally.kept, tally.written);
}

}  // namespace
