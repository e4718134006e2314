#!/usr/bin/env bash
# One command from a fresh clone: installs what is missing, builds everything and runs the whole
# test suite under Wine. Exits non-zero when anything fails.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${BUILD_DIR:-$root/build}"

source "$root/scripts/arch.sh"

bash "$root/scripts/setup.sh"
arch=$(launcher_test_arch)
if [ "$arch" = x86_64 ]; then
  echo "test: this machine runs no 32-bit programs, so Wine cannot run the 32-bit launcher here;"
  echo "test: the suite runs on the 64-bit build of the same sources, and the 32-bit launcher is"
  echo "test: built and checked beside it (tests that need a 32-bit process report themselves skipped)"
fi
configure_launcher_build "$root" "$build" "$arch"
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest -j"$(nproc)" --output-on-failure
