#!/usr/bin/env bash
# kiv-batch maintain over a large shared log folder: FORUMS forum folders of
# ROOMS rooms (defaults 1000 and 20, MESSAGES messages a room, default 40)
# made by the sample generator, with an AR.LST in each; then, on copies of
# it, maintain --export (wall time and peak memory) and maintain --export
# --check-lists, whose difference is the archive-list check's share.
#   bench/maintain_bench.sh [BUILD_DIR] [WORK_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
work=${2:-build/maintain-bench}
forums=${FORUMS:-1000}
rooms=${ROOMS:-20}
messages=${MESSAGES:-40}
if [ "$build" = build/release ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release --target kiv-batch kiv-samplegen >/dev/null
fi
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
"$build/bin/kiv-samplegen" "$work/sample" --seed 1 --forums "$forums" --rooms "$rooms" --messages "$messages" \
  --archive >/dev/null
echo "shared log folder: $forums forums x $rooms rooms, $messages messages a room," \
  "$(find "$work/sample" -type f | wc -l) files, $(du -sh "$work/sample" | cut -f1)"
run() {  # label, then maintain's options
  local label=$1
  shift
  rm -rf "$work/run"
  cp -a "$work/sample" "$work/run"
  sync
  /usr/bin/time -f "%e %M" -o "$work/time" "$build/bin/kiv-batch" maintain "$work/run" --number 10 "$@" \
    >"$work/summary" 2>/dev/null || true
  read -r seconds kib <"$work/time"
  printf '%-36s %8.2f s  %8d KiB peak  %s forums ok\n' "$label" "$seconds" "$kib" \
    "$(grep -c $'\tok$' "$work/summary")"
  echo "$seconds" >"$work/$label.seconds"
}
run "maintain --export" --export
run "maintain --export --check-lists" --export --check-lists
awk -v a="$(cat "$work/maintain --export.seconds")" -v b="$(cat "$work/maintain --export --check-lists.seconds")" \
  'BEGIN { printf "the archive-list check: %.2f s, %.0f%% of the run with it\n", b - a, (b > 0 ? 100 * (b - a) / b : 0) }'
