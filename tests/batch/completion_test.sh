#!/usr/bin/env bash
# kiv-batch's bash completion, loaded by bash as bash-completion loads it:
# the commands, a folder, then for each command exactly the options its
# usage line names, and the values of the options that have few.
#   completion_test.sh COMPLETION_SCRIPT KIV_BATCH
set -u
source "$1"
batch=$2
failures=0
complete_words() {  # the words of a command line, the last being completed
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMPREPLY=()
  _kiv_batch
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}
expect() {  # what, expected, got
  if [ "$2" != "$3" ]; then
    echo "completion of $1: expected '$2', got '$3'" >&2
    failures=$((failures + 1))
  fi
}
expect "a command" "split " "$(complete_words kiv-batch sp)"
expect "a command" "maintain " "$(complete_words kiv-batch ma)"
expect "a kind" "title " "$(complete_words kiv-batch split /tmp --kind t)"
expect "a method" "0 1 " "$(complete_words kiv-batch split /tmp --method '')"
expect "a folder" "$(cd / && compgen -d -- /tm | sort | tr '\n' ' ')" "$(complete_words kiv-batch list /tm)"
# Every option the usage names for a command, and no other.
usage=$("$batch" --help | sed -n '/^usage:/,/^$/p')
for command in list analyze split maintain; do
  named=$(awk -v c="$command" '/kiv-batch / { on = ($0 ~ ("kiv-batch " c " ")) } on' <<<"$usage" |
          grep -o -- '--[a-z][a-z-]*' | sort -u | tr '\n' ' ')
  expect "the options of $command" "$named" "$(complete_words kiv-batch "$command" /tmp --)"
done
[ "$failures" -eq 0 ] && echo "completion: every case as expected"
exit "$failures"
