#!/usr/bin/env bash
# Sets up, builds and runs every test.
#   scripts/test.sh              the normal build in ./build
#   scripts/test.sh --werror     the same with every compiler warning an error
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer in ./build-asan;
#                                the first report of either fails its test
# Further CMake options are passed on: `scripts/test.sh --sanitize -DSITROVA_WINDOWS=OFF`
# builds and tests everything but the windows (what CI's sanitizer stage runs).
# CTEST_ARGS adds ctest options: CTEST_ARGS="-L unit" runs the quick tests only.
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
    -D*) options+=("$arg") ;;
    *) echo "usage: scripts/test.sh [--werror] [--sanitize] [-DOPTION=VALUE ...]" >&2; exit 2 ;;
  esac
done
# Options not asked for are set to their defaults again, so that a build folder never keeps an
# old choice.
[[ " ${options[*]-} " == *SITROVA_WERROR=* ]] || options+=(-DSITROVA_WERROR=OFF)
[[ " ${options[*]-} " == *SITROVA_SANITIZE=* ]] || options+=(-DSITROVA_SANITIZE=OFF)
[[ " ${options[*]-} " == *SITROVA_WINDOWS=* ]] || options+=(-DSITROVA_WINDOWS=ON)

bash scripts/install-deps.sh
BUILD_DIR="$build_dir" bash scripts/build.sh "${options[@]}"
export QT_QPA_PLATFORM=offscreen
# Used by sanitized builds only: stop at the first report; leaks are reported except those
# listed in tests/support/lsan.supp (each there is a library's own, with its reason).
# intercept_tls_get_addr=0: the runtime of GCC 12 takes a library's thread-local block that
# happens to start 16 bytes into a page for the header of a glibc older than 2.25 and reads
# the words before it, which now and then crashes LeakSanitizer's tracer at a program's exit.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:check_initialization_order=1:strict_init_order=1:intercept_tls_get_addr=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
# A test that fails is run once more before it counts: under the sanitizers on a busy
# machine LeakSanitizer's tracer has crashed at a program's exit (see intercept_tls_get_addr
# above), which turns the program's exit code into 1. A fault of ours fails both runs.
# Most tests wait on the loopback server or on a program they started, so more of them run at
# once than there are cores; the slow ones start first (their COST in tests/CMakeLists.txt).
ctest --test-dir "$build_dir" --output-on-failure -j "${CTEST_JOBS:-$(( $(nproc) * 2 ))}" --repeat until-pass:2 \
  ${CTEST_ARGS:-}
