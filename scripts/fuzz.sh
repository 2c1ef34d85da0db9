#!/usr/bin/env bash
# Builds the fuzz targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each of them: first over its kept findings in fuzz/corpus/<target>,
# then for a short while from seeds made by kiv-samplegen.
#
#   scripts/fuzz.sh                 about a minute in all (the test command runs this)
#   scripts/fuzz.sh --long SECONDS  SECONDS per target, for long runs
#
# The corpus grows in build/fuzz/corpus and survives between runs; an input
# that makes a target fail is saved in build/fuzz/findings and the script
# fails. Keep such an input in fuzz/corpus/<target>/ once its fault is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=10
if [ "${1:-}" = "--long" ]; then
  seconds=${2:?"--long needs a number of seconds"}
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

bin=build/fuzz/bin
seeds=build/fuzz/seeds
corpus=build/fuzz/corpus
findings=build/fuzz/findings
mkdir -p "$corpus" "$findings"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The targets write their files where writing costs least.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

# Seeds: a small sample shared log folder and single logs of every template,
# with and without long lines; each target gets them in its input layout.
make_seeds() {
  rm -rf "$seeds"
  mkdir -p "$seeds"/{text_reader,log_split,room_table,archive_list,command_line,window_value}
  local sample="$seeds/sample" gen="$bin/kiv-samplegen"
  "$gen" "$sample" --seed 7 --forums 2 --rooms 2 --messages 6 --archive --mixed >/dev/null
  local i=0 kind template extra
  for kind in body title; do
    for template in 1 2 3 4; do
      if [ "$kind" = body ] && [ "$template" -gt 2 ]; then continue; fi
      if [ "$kind" = title ] && [ "$template" -lt 3 ]; then continue; fi
      for extra in "" --long-lines --shuffle --big-numbers; do
        i=$((i + 1))
        local log="$seeds/log$i"
        # shellcheck disable=SC2086
        "$gen" --log "$log" --kind $kind --template $template --messages 4 --lines 2 \
          --seed $i $extra >/dev/null
        cp "$log" "$seeds/text_reader/log$i"
        # Bytes 0-3: kind (even body, odd title), form, cut number (high, low).
        { if [ "$kind" = body ]; then printf '\0'; else printf '\1'; fi
          printf "\\$(printf %o $((i % 2)))\\0\\$(printf %o $((i % 4 + 1)))"
          cat "$log"; } > "$seeds/log_split/log$i"
        rm "$log"
      done
    done
  done
  local forum n=0
  for forum in "$sample"/FORUM1 "$sample"/FORUM2; do
    n=$((n + 1))
    { printf '\0'; cat "$forum/MES.LOG"; } > "$seeds/room_table/mes$n"
    if [ -f "$forum/AR.LST" ]; then
      { ls "$forum" | grep -v '^AR\.LST$' | head -n 8; printf '\0'; cat "$forum/AR.LST"; } \
        > "$seeds/archive_list/list$n"
    fi
  done
  printf 'AR_9802A.LOG\nMES_01.LOG\0M AR_9802A.LOG header\r\nM ar_9802a.log x\r\nM gone.LOG y\r\n' \
    > "$seeds/archive_list/small"
  cp fuzz/corpus/command_line/* "$seeds/command_line/"
  printf '1:50:40:510:760' > "$seeds/window_value/place"
  printf '210:390' > "$seeds/window_value/view"
  printf '90:133:45:80:60:60' > "$seeds/window_value/cols"
  printf '4294967295:-12:99999999999:' > "$seeds/window_value/odd"
  rm -rf "$sample"
}
make_seeds

status=0
total_runs=0
for target in text_reader log_split room_table archive_list command_line window_value; do
  exe="$bin/kiv_fuzz_$target"
  [ -x "$exe" ] || { echo "fuzz: $exe was not built" >&2; status=1; continue; }
  kept=fuzz/corpus/$target
  if [ -d "$kept" ] && [ -n "$(ls -A "$kept" 2>/dev/null)" ]; then
    if ! "$exe" -runs=0 "$kept" >"$findings/$target.regression.log" 2>&1; then
      echo "fuzz: $target fails on a kept input; see $findings/$target.regression.log" >&2
      status=1
      continue
    fi
  fi
  mkdir -p "$corpus/$target"
  log="$findings/$target.log"
  if "$exe" -max_total_time="$seconds" -max_len=16384 -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
      -artifact_prefix="$findings/$target-" "$corpus/$target" "$seeds/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    runs=${runs:-0}
    total_runs=$((total_runs + runs))
    echo "fuzz: $target: $runs executions in ${seconds}s, no finding"
  else
    echo "fuzz: $target FAILED; the input is in $findings/$target-*; see $log" >&2
    grep -m 5 -E 'kiv fuzz check failed|ERROR: |SUMMARY: ' "$log" >&2 || true
    status=1
  fi
done
echo "fuzz: $total_runs executions in all"
exit $status
