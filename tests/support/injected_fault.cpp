#include "tests/support/injected_fault.h"

namespace {
plat::FileOp g_op;
std::string g_suffix;
int g_err = 0;
int g_pass = 0;
int g_hits = 0;

int Hook(plat::FileOp op, const char* path) {
  std::string p = path ? path : "";
  if (op != g_op || p.size() < g_suffix.size()) return 0;
  if (p.compare(p.size() - g_suffix.size(), g_suffix.size(), g_suffix) != 0) return 0;
  if (g_pass > 0) {
    --g_pass;
    return 0;
  }
  ++g_hits;
  return g_err;
}
}  // namespace

InjectedFault::InjectedFault(plat::FileOp op, std::string pathSuffix, int err, int pass) {
  g_op = op;
  g_suffix = std::move(pathSuffix);
  g_err = err;
  g_pass = pass;
  g_hits = 0;
  plat::SetFaultHook(Hook);
}

InjectedFault::~InjectedFault() { plat::SetFaultHook(nullptr); }

int InjectedFault::hits() const { return g_hits; }
