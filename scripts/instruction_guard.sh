#!/usr/bin/env bash
# The engine's speed, kept from slipping back: the instructions each engine
# pass takes on fixed generated logs, counted by valgrind's callgrind (a count
# is the same on a busy machine as on an idle one, where a time is not), are
# compared with bench/instruction_baseline.txt. A count more than 10% above
# its baseline fails the run; one far below it is pointed out, so that the
# baseline can come down with the change that earned it.
#
#   scripts/instruction_guard.sh            count and compare
#   scripts/instruction_guard.sh --update   count and write the counts as the baseline
#
# It uses the release build (build/release, the programs kiv-bench and
# kiv-samplegen only). Run by scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
baseline=bench/instruction_baseline.txt
update=false
if [[ ${1:-} == --update ]]; then update=true; fi

if ! command -v valgrind >/dev/null; then
  echo "instruction guard: valgrind is missing (scripts/bootstrap.sh installs it)" >&2
  exit 1
fi
cmake --preset release >/dev/null
cmake --build --preset release --target kiv-bench kiv-samplegen >/dev/null
bench=$PWD/build/release/bin/kiv-bench
gen=$PWD/build/release/bin/kiv-samplegen

work=$(mktemp -d "${TMPDIR:-/tmp}/kiv-guard.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The same bytes every time (the generator draws from its seed), and the same
# "today" and time zone for the header lines the old logs begin with.
export TZ=JST-9 LC_ALL=C
now=946684800
"$gen" --log "$work/MES_01.LOG" --messages 8000 --seed 25 >/dev/null
"$gen" --log "$work/MES#01.LOG" --kind title --messages 65535 --seed 25 >/dev/null
cp "$work/MES#01.LOG" "$work/MES#03.B00"
# Numbers up to 60000, one text line each: the multiple method with step 1000
# makes 66 files of it.
"$gen" --log "$work/MES_02.B00" --messages 60000 --lines 1 --seed 25 >/dev/null

# count PASS ARGS...: the instructions kiv-bench spends inside PASS (a member
# of CLogFile), nothing of the program's start or end.
count() {
  local pass=$1
  shift
  if ! valgrind --tool=callgrind --callgrind-out-file=/dev/null --toggle-collect="CLogFile::$pass(*" \
    "$bench" --now "$now" "$@" >/dev/null 2>"$work/callgrind.txt"; then
    cat "$work/callgrind.txt" >&2
    echo "instruction guard: kiv-bench $* failed" >&2
    exit 1
  fi
  sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$work/callgrind.txt"
}

declare -A counts
counts[body_analysis]=$(count Analyze analyze "$work" MES_01.LOG body)
counts[title_analysis]=$(count Analyze analyze "$work" 'MES#01.LOG' title)
counts[title_split]=$(count Split split "$work" 'MES#03.B00' 'MES#03.LOG' title 32768)
counts[body_split_66_outputs]=$(count Split split "$work" MES_02.B00 MES_02.LOG body 1000 multiple)
names=(body_analysis title_analysis title_split body_split_66_outputs)

if $update; then
  {
    echo "# Instructions of each engine pass on the fixed logs of scripts/instruction_guard.sh,"
    echo "# counted by callgrind. The guard fails when a count is more than 10% above its line"
    echo "# here; a change that lowers or (deliberately) raises one rewrites this file with"
    echo "# scripts/instruction_guard.sh --update, in the same commit, the reason in its message."
    for name in "${names[@]}"; do echo "$name ${counts[$name]}"; done
  } >"$baseline"
  echo "instruction guard: wrote $baseline"
  for name in "${names[@]}"; do echo "  $name ${counts[$name]}"; done
  exit 0
fi

failed=false
for name in "${names[@]}"; do
  count=${counts[$name]}
  base=$(awk -v n="$name" '$1 == n { print $2 }' "$baseline")
  if [[ -z $base ]]; then
    echo "instruction guard: $name has no baseline in $baseline" >&2
    failed=true
    continue
  fi
  change=$(awk -v c="$count" -v b="$base" 'BEGIN { printf "%+.1f%%", (c - b) * 100 / b }')
  if ((count * 10 > base * 11)); then
    echo "instruction guard: FAIL $name: $count instructions, more than 10% above its baseline $base ($change)"
    failed=true
  elif ((count * 10 < base * 8)); then
    echo "instruction guard: note $name: $count instructions, far below its baseline $base ($change):" \
      "lower it with scripts/instruction_guard.sh --update"
  else
    echo "instruction guard: ok $name: $count instructions, baseline $base ($change)"
  fi
done
echo "instruction guard: $(($(date +%s) - started)) s"
if $failed; then exit 1; fi
