// Linked into the test-only build of kiv-batch (kiv-batch-killable): the
// same program, with a fault hook that stops it dead, as a power cut or a
// kill would, right before its KIV_KILL_AT_OP-th file operation. With
// KIV_COUNT_OPS_TO set instead, it writes the number of file operations it
// made to that file as it ends, so a test knows how many moments to try.
// KIV_NO_LINKS=1 makes it act as on a file system without hard links (FAT,
// many network shares): every link fails with EPERM.
// With KIV_TODAY set (seconds since 1970), its clock reads that moment, so a
// simulation of many days gives each day's runs their own date.
#include <time.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "platform/fault_injection.h"

namespace {

long g_killAt = 0;
long g_seen = 0;
bool g_noLinks = false;
const char* g_countFile = nullptr;

int KillHook(plat::FileOp op, const char*) {
  if (++g_seen == g_killAt) std::raise(SIGKILL);
  return g_noLinks && op == plat::FileOp::Link ? EPERM : 0;
}

void WriteCount() {
  if (std::FILE* f = std::fopen(g_countFile, "w")) {
    std::fprintf(f, "%ld\n", g_seen);
    std::fclose(f);
  }
}

const bool kInstalled = [] {
  if (const char* at = std::getenv("KIV_KILL_AT_OP")) g_killAt = std::atol(at);
  g_countFile = std::getenv("KIV_COUNT_OPS_TO");
  g_noLinks = std::getenv("KIV_NO_LINKS") != nullptr;
  if (g_killAt > 0 || g_countFile || g_noLinks) plat::SetFaultHook(KillHook);
  if (g_countFile) std::atexit(WriteCount);
  return true;
}();

}  // namespace

// The program asks its clock through time() alone; defined here, this one is
// the program's.
extern "C" time_t time(time_t* out) {
  static const time_t today = [] {
    const char* at = std::getenv("KIV_TODAY");
    return at ? static_cast<time_t>(std::atoll(at)) : 0;
  }();
  time_t now = today;
  if (now == 0) {
    timespec real{};
    ::clock_gettime(CLOCK_REALTIME, &real);
    now = real.tv_sec;
  }
  if (out) *out = now;
  return now;
}
