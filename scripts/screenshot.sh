#!/usr/bin/env bash
# Draws Kiv on a generated sample shared log folder into docs/: the main
# window at first start, a question box, the split dialog and the help
# window, on Qt's offscreen platform (no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/bootstrap.sh
cmake --preset release
cmake --build --preset release --target kiv-screenshot kiv-samplegen
sample=build/sample-screenshot
rm -rf "$sample"
build/release/bin/kiv-samplegen "$sample" --seed 1 >/dev/null
mkdir -p docs
QT_QPA_PLATFORM=offscreen build/release/bin/kiv-screenshot docs "$sample" FORUM1
echo "wrote docs/kiv-main-window.png, docs/kiv-question-box.png, docs/kiv-split-dialog.png, docs/kiv-help-window.png"
