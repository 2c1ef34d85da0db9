#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/bootstrap.sh
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cmake --preset debug
cmake --build --preset debug
ctest --preset debug "$@"
# The engine's instruction counts against bench/instruction_baseline.txt
# (release build, under callgrind): a pass that became slower fails here.
scripts/instruction_guard.sh
# Every include follows the layers (CONTRIBUTING.md), every C++ file the
# layout of .clang-format.
scripts/check_layers.sh
scripts/check_format.sh
# The Qt-free programs as Windows programs: cross-built, tested under wine,
# and kiv-batch.exe compared with kiv-batch on one sample.
scripts/windows_check.sh
# The Debian package: built from a release build of its own, then checked.
scripts/check_package.sh
# The fuzz targets (clang build of their own) get a short run each.
scripts/fuzz.sh
