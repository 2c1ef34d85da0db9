#!/usr/bin/env bash
# Builds Kiv and runs its main job on a generated sample shared log folder:
# analyse a forum, split two of its rooms, export the old logs' header lines
# to AR.LST, and show the list as it is afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/bootstrap.sh
cmake --preset release
cmake --build --preset release
bin=build/release/bin
sample=build/sample
rm -rf "$sample"
"$bin/kiv-samplegen" "$sample" --seed 1 --messages 2500
forum="$sample/FORUM1"
"$bin/kiv-batch" list "$forum"
"$bin/kiv-batch" analyze "$forum"
# One run, so the list after the split shows the logs' new ranges.
printf 'split --rooms 1,2 --number 500\nexport\nlist\n' | "$bin/kiv-batch" session "$forum"
echo "--- $forum/AR.LST"
iconv -f CP932 -t UTF-8 "$forum/AR.LST"
