#!/usr/bin/env bash
# One command from a fresh clone: installs what is missing, builds everything and runs the whole
# test suite under Wine. Exits non-zero when anything fails.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${BUILD_DIR:-$root/build}"

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G "Unix Makefiles" >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest -j"$(nproc)" --output-on-failure
