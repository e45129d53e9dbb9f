#!/usr/bin/env bash
# Sets up, builds and runs every test.
#   scripts/test.sh              the normal build in ./build
#   scripts/test.sh --werror     the same with every compiler warning an error
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer in ./build-asan;
#                                the first report of either fails its test
set -euo pipefail
cd "$(dirname "$0")/.."
options=()
build_dir="${BUILD_DIR:-build}"
for arg in "$@"; do
  case "$arg" in
    --werror) options+=(-DSITROVA_WERROR=ON) ;;
    --sanitize)
      options+=(-DSITROVA_SANITIZE=ON)
      build_dir="${BUILD_DIR:-build-asan}"
      ;;
    *) echo "usage: scripts/test.sh [--werror] [--sanitize]" >&2; exit 2 ;;
  esac
done
# Options not asked for are switched off again, so that a build folder never keeps an old choice.
[[ " ${options[*]-} " == *WERROR* ]] || options+=(-DSITROVA_WERROR=OFF)
[[ " ${options[*]-} " == *SANITIZE=ON* ]] || options+=(-DSITROVA_SANITIZE=OFF)

bash scripts/install-deps.sh
BUILD_DIR="$build_dir" bash scripts/build.sh "${options[@]}"
export QT_QPA_PLATFORM=offscreen
# Used by sanitized builds only: stop at the first report; leaks are reported except those
# listed in tests/support/lsan.supp (each there is a library's own, with its reason).
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
# A test that fails is run once more before it counts: under the sanitizers on a busy
# machine LeakSanitizer's tracer now and then crashes at a program's exit, which turns the
# program's exit code into 1. A fault of ours fails both runs.
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" --repeat until-pass:2
