#pragma once
#include <string>

#include "platform/fault_injection.h"

// Makes one kind of file operation fail with err on every path that ends
// with pathSuffix, for as long as the object lives.
class InjectedFault {
 public:
  InjectedFault(plat::FileOp op, std::string pathSuffix, int err);
  ~InjectedFault();
  InjectedFault(const InjectedFault&) = delete;
  InjectedFault& operator=(const InjectedFault&) = delete;

  int hits() const;
};
