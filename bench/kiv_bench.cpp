// kiv-bench: times one engine pass over a big log, or a plain read() of it
// for comparison, and prints the throughput and the peak resident memory.
//
//   kiv-bench [--now SECONDS] read FILE
//   kiv-bench [--now SECONDS] analyze FOLDER LOG body|title
//   kiv-bench [--now SECONDS] split FOLDER SOURCE LOG body|title CUT [single|multiple]
//
// split reads SOURCE and writes the old logs and LOG into FOLDER (in the
// serial form); the caller removes them afterwards. With multiple, CUT is
// the step: an old log per CUT messages. --now fixes "today" (seconds since
// 1970), which the header lines of the old logs hold, so that a run can be
// repeated exactly (scripts/instruction_guard.sh counts its instructions).
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/log_file.h"
#include "platform/file_error.h"
#include "platform/file_ops.h"
#include "platform/page_buffer.h"

namespace {

// Boxes and file errors go to standard error; the answer is always OK.
class StderrMessages : public MessagePort {
 public:
  MsgResult ShowMessage(const Message& message, MsgStyle) override {
    std::fprintf(stderr, "%s: %s\n", message.caption.c_str(), message.text.c_str());
    return MsgResult::Ok;
  }
  void ReportFileError(const std::string& file, int err) override {
    std::fprintf(stderr, "%s\n", plat::FileErrorText(file, err).c_str());
  }
};

long PeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

int Report(const char* what, long long bytes, std::chrono::steady_clock::duration elapsed) {
  const double seconds = std::chrono::duration<double>(elapsed).count();
  std::printf("%s bytes=%lld seconds=%.3f mibps=%.1f peak_kib=%ld\n", what, bytes, seconds,
              static_cast<double>(bytes) / (1024.0 * 1024.0) / seconds, PeakKiB());
  return 0;
}

long long SizeOf(const std::string& path) {
  plat::FileStatus status;
  return plat::GetFileStatus(path, &status) ? status.size : -1;
}

int PlainRead(const std::string& path) {
  const auto start = std::chrono::steady_clock::now();
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) {
    std::perror(path.c_str());
    return 1;
  }
  // Into memory that starts on a page, as cat and dd read and as the reader
  // does: a read off a cache line can take five times as long, which would
  // make every ratio against this one look better than it is.
  constexpr std::size_t kSize = 1 << 20;
  plat::PageBuffer storage;
  storage.Allocate(kSize);
  char* buffer = storage.get();
  long long total = 0;
  for (;;) {
    ssize_t n = ::read(fd, buffer, kSize);
    if (n < 0) {
      std::perror(path.c_str());
      return 1;
    }
    if (n == 0) break;
    total += n;
  }
  ::close(fd);
  return Report("read", total, std::chrono::steady_clock::now() - start);
}

int KindOf(const std::string& word) { return word == "title" ? kKindTitle : kKindBody; }

int Run(int argc, char** argv) {
  SystemClock systemClock;
  FixedClock fixedClock(0);
  const Clock* today = &systemClock;
  if (argc > 2 && std::string(argv[1]) == "--now") {
    fixedClock.Set(static_cast<std::time_t>(std::atoll(argv[2])));
    today = &fixedClock;
    argc -= 2;
    argv += 2;
  }
  const Clock& clock = *today;
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "read" && argc == 3) return PlainRead(argv[2]);

  StderrMessages port;
  CompanionMode voice;
  Messenger messenger(port, voice);
  NoProgress progress;
  CFileEntry entry;
  entry.room = 1;

  if (mode == "analyze" && argc == 5) {
    const std::string folder = argv[2];
    entry.name = argv[3];
    entry.kind = KindOf(argv[4]);
    const auto start = std::chrono::steady_clock::now();
    CLogFile log(folder, &entry, messenger, progress, clock);
    if (!log.Open() || !log.Analyze() || !log.Close()) return 1;
    const auto elapsed = std::chrono::steady_clock::now() - start;
    std::fprintf(stderr, "range %d-%d\n", entry.lowest, entry.highest);
    return Report("analyze", SizeOf(plat::JoinPath(folder, entry.name)), elapsed);
  }
  if (mode == "split" && (argc == 7 || argc == 8)) {
    const std::string folder = argv[2];
    const std::string source = argv[3];
    entry.name = argv[4];
    entry.kind = KindOf(argv[5]);
    entry.lowest = 1;
    entry.highest = kNoHighest - 1;
    const int cut = std::atoi(argv[6]);
    const SplitMethod method =
        argc == 8 && std::string(argv[7]) == "multiple" ? SplitMethod::Multiple : SplitMethod::Single;
    const auto start = std::chrono::steady_clock::now();
    CLogFile log(folder, &entry, messenger, progress, clock);
    std::uint32_t state = kNamingFresh;
    std::vector<std::string> lines;
    if (log.MakeOldLogNames(cut, entry.lowest, entry.highest, NamingForm::Serial, method, state) ||
        !log.MakeHeaderLines("FORUM1", "", lines) || !log.Open(source) || !log.Split(lines) || !log.Close()) {
      return 1;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    for (const std::string& name : log.names()) std::fprintf(stderr, "wrote %s\n", name.c_str());
    return Report("split", SizeOf(plat::JoinPath(folder, source)), elapsed);
  }
  std::fprintf(stderr,
               "usage: kiv-bench [--now SECONDS] read FILE\n"
               "       kiv-bench [--now SECONDS] analyze FOLDER LOG body|title\n"
               "       kiv-bench [--now SECONDS] split FOLDER SOURCE LOG body|title CUT [single|multiple]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) { return Run(argc, argv); }
