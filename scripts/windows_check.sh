#!/usr/bin/env bash
# The Qt-free programs as Windows programs: cross-built with mingw-w64, their
# tests run under wine, and kiv-batch.exe run on a generated sample beside the
# Linux kiv-batch, which must leave the same files, print the same lines and
# end with the same statuses. Run by scripts/test.sh after the Linux suite
# (it needs build/debug's kiv-batch and kiv-samplegen); the packages come from
# scripts/bootstrap.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
root=$PWD

wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
export WINEPREFIX=${KIV_WINEPREFIX:-$PWD/build/wineprefix}
export WINEDEBUG=-all
# No Mono or Gecko installer dialog on the prefix's first start.
export WINEDLLOVERRIDES="mscoree,mshtml="

# wine's first start builds its prefix and now and then fails doing so: once
# more then. Starting it here keeps the tests' time limits free of it.
mkdir -p build
started_wine=false
for attempt in 1 2 3; do
  if timeout 300 "$wine" wineboot --init >build/wineboot.log 2>&1; then
    started_wine=true
    break
  fi
  echo "wine did not start (attempt $attempt), trying again"
  sleep 2
done
$started_wine || { cat build/wineboot.log; exit 1; }

cmake --preset windows-cross
cmake --build --preset windows-cross
ctest --preset windows-cross "$@"

# The same sample, the same commands, on both builds. Both run in Japanese
# time given in the form Windows' C runtime reads (it knows no zone names).
export TZ=JST-9
linux_bin=build/debug/bin
windows_bin=build/windows-cross/bin
work=build/windows-compare
rm -rf "$work"
mkdir -p "$work/sample-linux" "$work/sample-windows"
"$linux_bin/kiv-samplegen" "$work/sample-linux" --seed 1 --messages 2500 >/dev/null
(cd "$work/sample-windows" && "$wine" "$root/$windows_bin/kiv-samplegen.exe" . --seed 1 --messages 2500 >/dev/null)
# The generators agree first: the same sample from both.
diff -r "$work/sample-linux" "$work/sample-windows"
cp -a "$work/sample-linux" "$work/linux"
cp -a "$work/sample-linux" "$work/windows"

session='split --rooms 1 --number 1000
undo --rooms 1
split --rooms 3 --number 800 --bak
export
list'
runs=(
  "list FORUM1"
  "analyze FORUM1"
  "split FORUM1 --rooms 1,2 --number 500 --export"
  "split FORUM1 --rooms 1 --kind title"
  "split FORUM1 --rooms 99"
  "session FORUM1"
  "analyze FORUM2 --rooms 2"
  "list FORUM2"
)
run_all() {  # where, then the program as the shell starts it
  local where=$1
  shift
  local i=0
  for args in "${runs[@]}"; do
    i=$((i + 1))
    local status=0
    # shellcheck disable=SC2086
    (cd "$work/$where" && printf '%s\n' "$session" | "$@" $args >"../$where.$i.out" 2>"../$where.$i.err") || status=$?
    echo "$args -> $status" >>"$work/$where.statuses"
  done
}
run_all linux "$root/$linux_bin/kiv-batch"
run_all windows "$wine" "$root/$windows_bin/kiv-batch.exe"

same=true
for i in $(seq 1 ${#runs[@]}); do
  for stream in out err; do
    if ! cmp -s "$work/linux.$i.$stream" "$work/windows.$i.$stream"; then
      echo "kiv-batch ${runs[$((i - 1))]}: standard $stream differs"
      diff "$work/linux.$i.$stream" "$work/windows.$i.$stream" | head -20 || true
      same=false
    fi
  done
done
if ! diff "$work/linux.statuses" "$work/windows.statuses"; then same=false; fi
if ! diff -r "$work/linux" "$work/windows"; then same=false; fi
$same || { echo "kiv-batch.exe and kiv-batch differ"; exit 1; }
files=$(find "$work/linux" -type f | wc -l)
echo "kiv-batch.exe and kiv-batch: ${#runs[@]} runs, the same output, statuses and $files files"
echo "Windows stage: $(( $(date +%s) - started )) s"
