#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the tree is not laid out as
# .clang-format says. `scripts/check_format.sh --fix` lays them out.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
# One run over every file; each file it would change is named in its
# complaints.
mapfile -t bad < <(clang-format --dry-run "${files[@]}" 2>&1 | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: .*clang-format.*/\1/p' | sort -u)
if [ ${#bad[@]} -ne 0 ]; then
  echo "check_format: ${#bad[@]} file(s) not laid out as .clang-format says (scripts/check_format.sh --fix):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "check_format: ${#files[@]} files laid out as .clang-format says"
