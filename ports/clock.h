#pragma once
#include <ctime>

// The current time; archive names and header lines depend on "today", so
// tests give the core a fixed clock.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::time_t Now() const = 0;
};

class SystemClock : public Clock {
 public:
  std::time_t Now() const override { return std::time(nullptr); }
};

class FixedClock : public Clock {
 public:
  explicit FixedClock(std::time_t t) : t_(t) {}
  std::time_t Now() const override { return t_; }
  void Set(std::time_t t) { t_ = t; }

 private:
  std::time_t t_;
};
