#!/usr/bin/env bash
# Draws Kiv on a generated sample shared log folder into docs/: the main
# window at first start, a question box, the split dialog, the help
# window, the stop button beside the progress and the status line after a
# split, on Qt's offscreen platform (no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/bootstrap.sh
cmake --preset release
cmake --build --preset release --target kiv-screenshot kiv-samplegen
sample=build/sample-screenshot
rm -rf "$sample"
build/release/bin/kiv-samplegen "$sample" --seed 1 >/dev/null
# A log long enough to show the progress and its 中止 button.
build/release/bin/kiv-samplegen --log "$sample/FORUM2/MES_20.LOG" --room 20 --forum FORUM2 --size 600M >/dev/null
mkdir -p docs
QT_QPA_PLATFORM=offscreen build/release/bin/kiv-screenshot docs "$sample" FORUM1
echo "wrote docs/kiv-main-window.png, docs/kiv-question-box.png, docs/kiv-split-dialog.png, docs/kiv-help-window.png," \
  "docs/kiv-stop-button.png, docs/kiv-status-line.png"
