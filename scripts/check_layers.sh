#!/usr/bin/env bash
# Fails, naming the file and the include, when a folder includes one it may
# not (CONTRIBUTING.md: the layers). A folder may always include itself.
set -euo pipefail
cd "$(dirname "$0")/.."
declare -A may=(
  [platform]=""
  [ports]=""
  [resources]=""
  [commit]="platform"
  [messages]="ports resources"
  [model]="commit platform ports resources"
  [engine]="messages model platform ports resources"
  [commands]="commit engine messages model platform ports resources"
  [batch]="commands messages model platform ports resources"
  [profile]="ports"
  [ui]="commands messages model platform ports profile resources"
  [checker]="commands messages model platform ports profile resources ui"
  [regconv]="commands messages model platform ports profile resources ui"
)
bad=0
for layer in "${!may[@]}"; do
  while IFS=: read -r file _ line; do
    target=$(sed -n 's/^#include "\([a-z_]*\)\/.*/\1/p' <<<"$line")
    [ -z "$target" ] || [ "$target" = "$layer" ] && continue
    if [[ " ${may[$layer]} " != *" $target "* ]]; then
      echo "check_layers: $file includes $target/, which $layer/ may not" >&2
      bad=1
    fi
  done < <(git grep -n '^#include "' -- "$layer/*.cpp" "$layer/*.h" || true)
done
[ "$bad" -eq 0 ] && echo "check_layers: every include follows the layers"
exit "$bad"
