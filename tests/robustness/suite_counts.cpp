#include "tests/robustness/suite_counts.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace robust {

SuiteCounts& Counts() {
  static SuiteCounts counts;
  return counts;
}

namespace {

class PrintCounts : public ::testing::Environment {
 public:
  void TearDown() override {
    const SuiteCounts& c = Counts();
    if (c.faultsInjected > 0) {
      std::printf("[robustness] faults injected: %d, survived: %d\n", c.faultsInjected, c.faultsSurvived);
    }
    if (c.killPointsTried > 0) {
      std::printf("[robustness] kill points tried: %d, survived: %d\n", c.killPointsTried, c.killPointsSurvived);
    }
  }
};

const bool kRegistered = (::testing::AddGlobalTestEnvironment(new PrintCounts), true);

}  // namespace

}  // namespace robust
