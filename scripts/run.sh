#!/usr/bin/env bash
# Builds Kiv and runs its main job on a generated sample shared log folder.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/bootstrap.sh
cmake --preset release
cmake --build --preset release
sample=build/sample
rm -rf "$sample"
build/release/bin/kiv-samplegen "$sample" --seed 1
build/release/bin/kiv-batch list "$sample/FORUM1"
build/release/bin/kiv-batch analyze "$sample/FORUM1"
