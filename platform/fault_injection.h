#pragma once
// A single point through which every file operation of the platform layer
// asks whether it should fail. Tests install a hook to make one operation
// fail in turn and check that nothing of the user's is lost; in the programs
// no hook is installed and the check costs one load and one branch.

namespace plat {

enum class FileOp { Open, Read, Write, Sync, Close, Rename, Delete, Status, List, Link };

// Returns an errno value to inject, or 0 to let the operation run.
using FaultHook = int (*)(FileOp op, const char* path);

void SetFaultHook(FaultHook hook);

namespace detail {
extern FaultHook g_faultHook;
inline int InjectedError(FileOp op, const char* path) { return g_faultHook ? g_faultHook(op, path) : 0; }

// How an operation fails, injected or not: the reason in *err when the
// caller asked for it, and false.
inline bool Fail(int* err, int e) {
  if (err) *err = e;
  return false;
}
}  // namespace detail

}  // namespace plat
