#pragma once
// Makes the n-th file operation of the platform layer fail, whatever it is,
// so that a test can walk a command through every operation it reaches.
#include <string>

#include "platform/fault_injection.h"

namespace robust {

const char* OpName(plat::FileOp op);

// The errno a real failure of op would most likely give: a full disk for
// writing, no rights for opening, an I/O error otherwise.
int TypicalError(plat::FileOp op);

class FaultPlan {
 public:
  // failAt 0: only count. failAt n: the n-th operation (from 1) fails with
  // its typical error, the others run.
  explicit FaultPlan(int failAt = 0);
  ~FaultPlan();  // removes the hook
  FaultPlan(const FaultPlan&) = delete;
  FaultPlan& operator=(const FaultPlan&) = delete;

  int operations() const;   // operations seen so far
  bool injected() const;    // the failAt-th operation came
  plat::FileOp op() const;  // the failed one's kind and path
  const std::string& path() const;
  std::string Describe() const;  // "Write of /tmp/.../MES_01.LOG (ENOSPC)"
};

}  // namespace robust
