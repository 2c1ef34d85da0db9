#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing.
# Sourced by run.sh and test.sh; needs root (or sudo) only when something is missing.
set -euo pipefail

KIV_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev
  qt6-base-dev libgl-dev
  fonts-ipafont-gothic qt6-translations-l10n
  clang libclang-rt-14-dev
  dpkg-dev desktop-file-utils appstream man-db
  g++-mingw-w64-x86-64-posix wine64 googletest
  valgrind clang-format systemd
)

kiv_missing_packages() {
  local p missing=()
  for p in "${KIV_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  echo "${missing[@]:-}"
}

kiv_bootstrap() {
  local missing
  missing=$(kiv_missing_packages)
  [ -z "$missing" ] && return 0
  echo "Installing: $missing"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  # shellcheck disable=SC2086
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
}

kiv_bootstrap
