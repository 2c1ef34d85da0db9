#include "tests/robustness/fault_plan.h"

#include <cerrno>
#include <cstring>

namespace robust {

namespace {

struct State {
  int failAt = 0;
  int seen = 0;
  bool injected = false;
  plat::FileOp op = plat::FileOp::Open;
  std::string path;
};
State g_state;

int Hook(plat::FileOp op, const char* path) {
  ++g_state.seen;
  if (g_state.failAt == 0 || g_state.seen != g_state.failAt) return 0;
  g_state.injected = true;
  g_state.op = op;
  g_state.path = path ? path : "";
  return TypicalError(op);
}

}  // namespace

const char* OpName(plat::FileOp op) {
  switch (op) {
    case plat::FileOp::Open: return "Open";
    case plat::FileOp::Read: return "Read";
    case plat::FileOp::Write: return "Write";
    case plat::FileOp::Sync: return "Sync";
    case plat::FileOp::Close: return "Close";
    case plat::FileOp::Rename: return "Rename";
    case plat::FileOp::Delete: return "Delete";
    case plat::FileOp::Status: return "Status";
    case plat::FileOp::List: return "List";
    case plat::FileOp::Link: return "Link";
  }
  return "?";
}

int TypicalError(plat::FileOp op) {
  switch (op) {
    case plat::FileOp::Write:
    case plat::FileOp::Sync:
    case plat::FileOp::Close: return ENOSPC;
    case plat::FileOp::Open:
    case plat::FileOp::Delete:
    case plat::FileOp::List: return EACCES;
    default: return EIO;
  }
}

FaultPlan::FaultPlan(int failAt) {
  g_state = State{};
  g_state.failAt = failAt;
  plat::SetFaultHook(Hook);
}

FaultPlan::~FaultPlan() { plat::SetFaultHook(nullptr); }

int FaultPlan::operations() const { return g_state.seen; }
bool FaultPlan::injected() const { return g_state.injected; }
plat::FileOp FaultPlan::op() const { return g_state.op; }
const std::string& FaultPlan::path() const { return g_state.path; }

std::string FaultPlan::Describe() const {
  return std::string(OpName(g_state.op)) + " of " + g_state.path + " (" + std::strerror(TypicalError(g_state.op)) + ")";
}

}  // namespace robust
