#!/usr/bin/env bash
# How Kiv's window keeps up while a command works on large logs: a forum
# with a body log of ANALYSED_SIZE (default 3G) in room 1 and one of
# SPLIT_SIZE (default 1G) in room 2, generated; the first analysed and the
# second split through the real window (Qt's offscreen platform unless a
# display is set), the window resized every 100 ms meanwhile; printed: the
# longest gap between repaints and between moves of the progress display.
#   bench/responsiveness.sh [BUILD_DIR] [WORK_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
work=${2:-build/responsiveness}
analysed=${ANALYSED_SIZE:-3G}
split=${SPLIT_SIZE:-1G}
if [ "$build" = build/release ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release --target kiv-responsiveness kiv-samplegen >/dev/null
fi
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
"$build/bin/kiv-samplegen" "$work" --seed 1 --forums 1 --rooms 2 >/dev/null
"$build/bin/kiv-samplegen" --log "$work/FORUM1/MES_01.LOG" --room 1 --size "$analysed" --force >/dev/null
"$build/bin/kiv-samplegen" --log "$work/FORUM1/MES_02.LOG" --room 2 --size "$split" --force >/dev/null
# The logs come from the page cache, as on a machine that has just had them written.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$build/bin/kiv-responsiveness" "$work" FORUM1 MES_01.LOG MES_02.LOG
