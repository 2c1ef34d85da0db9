#pragma once
#include <string>

#include "platform/fault_injection.h"

// Makes one kind of file operation fail with err on every path that ends
// with pathSuffix, for as long as the object lives. The first `pass`
// matching calls are let through, so a test can fail, say, the second read
// of a file rather than the first.
class InjectedFault {
 public:
  InjectedFault(plat::FileOp op, std::string pathSuffix, int err, int pass = 0);
  ~InjectedFault();
  InjectedFault(const InjectedFault&) = delete;
  InjectedFault& operator=(const InjectedFault&) = delete;

  // Matching calls that were made to fail.
  int hits() const;
};
