#!/usr/bin/env bash
# Builds the Debian package of Kiv, kiv-batch, TORBLEN and MIRVASTO from a
# release build (build/package-build) into build/package/kiv_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/bootstrap.sh
cmake --preset package >/dev/null
# Built here, two jobs at a time; CPack then finds nothing left to build.
cmake --build --preset package
rm -rf build/package
cpack --config build/package-build/CPackConfig.cmake -B build/package >/dev/null
rm -rf build/package/_CPack_Packages
ls build/package/*.deb
