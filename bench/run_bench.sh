#!/usr/bin/env bash
# Engine throughput against the plain tools, on one machine in one run:
#   bench/run_bench.sh [BUILD_DIR] [WORK_DIR]
# BUILD_DIR is a release build (configured and built here when it lacks the
# programs); WORK_DIR gets a ~1 GiB body log and a ~256 MiB title log, which
# are deleted at the end. Each figure is the best of $RUNS runs (default 3),
# all from the page cache. The engine's split syncs its outputs to disk
# before it returns; "cp + sync" is the like-for-like copy. With
# BASE_BUILD=DIR (the release build of another commit, holding kiv-bench) the
# engine rows are also timed with that build, on the same files in the same
# run, so that a change is measured against what came before it.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build/release}
WORK=${2:-$(mktemp -d "${TMPDIR:-/tmp}/kiv-bench.XXXXXX")}
RUNS=${RUNS:-3}
BODY_SIZE=${BODY_SIZE:-1G}
TITLE_MIB=${TITLE_MIB:-256}
export LC_ALL=C

if [[ ! -x $BUILD/bin/kiv-bench || ! -x $BUILD/bin/kiv-samplegen ]]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIV_SANITIZE=OFF \
    -DKIV_BUILD_TESTS=OFF -DKIV_BUILD_UI=OFF >/dev/null
  cmake --build "$BUILD" -j2 --target kiv-bench kiv-samplegen >/dev/null
fi
BENCH=$BUILD/bin/kiv-bench
GEN=$BUILD/bin/kiv-samplegen
BASE_BENCH=${BASE_BUILD:+$BASE_BUILD/bin/kiv-bench}
if [[ -n $BASE_BENCH && ! -x $BASE_BENCH ]]; then
  echo "no kiv-bench in BASE_BUILD=$BASE_BUILD" >&2
  exit 2
fi
mkdir -p "$WORK"
trap 'rm -f "$WORK"/MES_01.* "$WORK"/MES_02.* "$WORK"/MES#01.* "$WORK"/title.part "$WORK"/copy.bin "$WORK"/awk_*.txt "$WORK"/stdout.txt' EXIT

now() { date +%s.%N; }
# best CLEANUP COMMAND...: the best wall time of $RUNS runs of COMMAND; the
# shell text CLEANUP (may be empty) runs untimed after each.
best() {
  local cleanup=$1 best="" start end t
  shift
  for ((i = 0; i < RUNS; i++)); do
    sync
    start=$(now)
    # Into a file, not /dev/null: grep stops at its first match when it
    # sees its output thrown away.
    "$@" >"$WORK/stdout.txt"
    end=$(now)
    if [[ -n $cleanup ]]; then eval "$cleanup"; fi
    t=$(echo "$end - $start" | bc -l)
    if [[ -z $best ]] || (($(echo "$t < $best" | bc -l))); then best=$t; fi
  done
  echo "$best"
}
mibps() { echo "scale=1; $1 / 1048576 / $2" | bc -l; }

# The engine's own figures: best wall time and the peak resident memory.
bench_engine() {
  local cleanup=$1 best="" peak=0 line t p
  shift
  for ((i = 0; i < RUNS; i++)); do
    sync
    line=$("$@" 2>/dev/null | tail -1)
    if [[ -n $cleanup ]]; then eval "$cleanup"; fi
    t=$(sed 's/.*seconds=\([0-9.]*\).*/\1/' <<<"$line")
    p=$(sed 's/.*peak_kib=\([0-9]*\).*/\1/' <<<"$line")
    ((p > peak)) && peak=$p
    if [[ -z $best ]] || (($(echo "$t < $best" | bc -l))); then best=$t; fi
  done
  echo "$best $peak"
}

echo "generating logs in $WORK ..." >&2
"$GEN" --log "$WORK/MES_01.LOG" --size "$BODY_SIZE" --force >&2
# A title line is short and numbers stay below 65536, so the title log is one
# full generated log repeated up to the size wanted.
"$GEN" --log "$WORK/title.part" --kind title --messages 65535 --force >&2
: >"$WORK/MES#01.LOG"
while (($(stat -c %s "$WORK/MES#01.LOG") < TITLE_MIB * 1048576)); do cat "$WORK/title.part" >>"$WORK/MES#01.LOG"; done

BODY_RE='^[0-9]\{5\}/[0-9]\{5\} [A-Z]\{3\}[0-9]\{5\}'
TITLE_RE='^ [ 0-9]\{4\}[0-9] [A-Z]\{3\}[0-9]\{5\} '
BODY_AWK='/^[0-9][0-9][0-9][0-9][0-9]\/[0-9][0-9][0-9][0-9][0-9] [A-Z][A-Z][A-Z][0-9][0-9][0-9][0-9][0-9]/'
TITLE_AWK='/^ [ 0-9][ 0-9][ 0-9][ 0-9][0-9] [A-Z][A-Z][A-Z][0-9][0-9][0-9][0-9][0-9] /'

run_log() {  # kind file cut matcher regex number-expression
  local kind=$1 name=$2 cut=$3 match=$4 re=$5 num=$6
  local file=$WORK/$name size backup
  size=$(stat -c %s "$file")
  backup=${name%.LOG}.B00
  cat "$file" >/dev/null

  local t_read t_cp t_cps t_grep t_awka t_awkr an sp
  local copy="rm -f '$WORK/copy.bin'" routed="rm -f '$WORK'/awk_*.txt"
  local outputs="find '$WORK' -maxdepth 1 -name '${name%.LOG}.*' ! -name '$backup' -delete"
  t_read=$(best "" "$BENCH" read "$file")
  t_cp=$(best "$copy" cp "$file" "$WORK/copy.bin")
  t_cps=$(best "$copy" sh -c "cp '$file' '$WORK/copy.bin' && sync")
  t_grep=$(best "" grep -c "$re" "$file")
  t_awka=$(best "" mawk "$match { n = $num; if (lo == \"\" || n < lo) lo = n; if (n > hi) hi = n } END { print lo, hi }" "$file")
  t_awkr=$(best "$routed" mawk -v cut="$cut" -v dir="$WORK" \
    "$match { n = $num; out = n <= cut ? dir \"/awk_old.txt\" : dir \"/awk_new.txt\" } out != \"\" { print > out }" "$file")
  # The engine rows: this build, then the base build when there is one.
  local benches=("$BENCH") labels=("Kiv") b an sp t_an t_sp rss_an rss_sp
  if [[ -n $BASE_BENCH ]]; then benches+=("$BASE_BENCH") labels+=("base"); fi
  local rows=() ratios=() memory=()
  for b in "${!benches[@]}"; do
    an=$(bench_engine "" "${benches[$b]}" analyze "$WORK" "$name" "$kind")
    mv "$file" "$WORK/$backup"
    sp=$(bench_engine "$outputs" "${benches[$b]}" split "$WORK" "$backup" "$name" "$kind" "$cut")
    mv "$WORK/$backup" "$file"
    t_an=${an% *} rss_an=${an#* } t_sp=${sp% *} rss_sp=${sp#* }
    rows+=("${labels[$b]} analysis:$t_an" "${labels[$b]} split (2 outputs, synced):$t_sp")
    ratios+=("$(printf '%s analysis: %.2f x read(), %.2f x grep -c, %.2f x awk analysis; split: %.2f x cp, %.2f x cp + sync, %.2f x awk routing' \
      "${labels[$b]}" "$(echo "$t_read / $t_an" | bc -l)" "$(echo "$t_grep / $t_an" | bc -l)" \
      "$(echo "$t_awka / $t_an" | bc -l)" "$(echo "$t_cp / $t_sp" | bc -l)" "$(echo "$t_cps / $t_sp" | bc -l)" \
      "$(echo "$t_awkr / $t_sp" | bc -l)")")
    memory+=("${labels[$b]} peak resident memory: analysis $rss_an KiB, split $rss_sp KiB")
  done

  echo
  echo "### $kind log, $(echo "scale=1; $size / 1048576" | bc -l) MiB"
  echo
  echo "| run | seconds | MiB/s |"
  echo "|---|---:|---:|"
  for row in "read() into 1 MiB:$t_read" "cp:$t_cp" "cp + sync:$t_cps" "grep -c header:$t_grep" \
    "awk analysis:$t_awka" "awk routing to 2 files:$t_awkr" "${rows[@]}"; do
    printf '| %s | %.3f | %s |\n' "${row%%:*}" "${row##*:}" "$(mibps "$size" "${row##*:}")"
  done
  echo
  printf '%s\n' "${ratios[@]}" "${memory[@]}"
}

run_log body MES_01.LOG 26000 "$BODY_AWK" "$BODY_RE" 'substr($0, 1, 5) + 0'
run_log title 'MES#01.LOG' 32768 "$TITLE_AWK" "$TITLE_RE" 'substr($0, 2, 5) + 0'

# Many outputs: the multiple method, an old log per 1000 messages of a
# 60,000-message body log, against the same log split in two.
"$GEN" --log "$WORK/MES_02.LOG" --messages 60000 --force >&2
size=$(stat -c %s "$WORK/MES_02.LOG")
mv "$WORK/MES_02.LOG" "$WORK/MES_02.B00"
outputs="find '$WORK' -maxdepth 1 -name 'MES_02.*' ! -name 'MES_02.B00' -delete"
echo
echo "### body log of 60,000 messages, $(echo "scale=1; $size / 1048576" | bc -l) MiB"
echo
echo "| run | seconds | MiB/s | peak resident KiB |"
echo "|---|---:|---:|---:|"
label=Kiv
for b in "$BENCH" ${BASE_BENCH:+"$BASE_BENCH"}; do
  two=$(bench_engine "$outputs" "$b" split "$WORK" MES_02.B00 MES_02.LOG body 30000)
  many=$(bench_engine "$outputs" "$b" split "$WORK" MES_02.B00 MES_02.LOG body 1000 multiple)
  printf '| %s split, 2 outputs | %.3f | %s | %s |\n' "$label" "${two% *}" "$(mibps "$size" "${two% *}")" "${two#* }"
  printf '| %s split, multiple method step 1000 (about 60 outputs) | %.3f | %s | %s |\n' "$label" "${many% *}" \
    "$(mibps "$size" "${many% *}")" "${many#* }"
  label=base
done
rm -f "$WORK/MES_02.B00"
