#pragma once
// The counts the robustness suites quote: printed once at the end of the
// run, so that a reader needs no other tool to learn what was tried.
namespace robust {

struct SuiteCounts {
  int faultsInjected = 0;   // runs with one file operation made to fail
  int faultsSurvived = 0;   // ... after which nothing was lost and the failure was reported
  int killPointsTried = 0;  // runs stopped dead with SIGKILL
  int killPointsSurvived = 0;
};

SuiteCounts& Counts();

}  // namespace robust
