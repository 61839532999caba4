#!/usr/bin/env bash
# Builds and runs every test: the core unit tests, the Qt offscreen tests and the end-to-end
# checks of kolumbra-cli. CTest prints the summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
