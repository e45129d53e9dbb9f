#!/usr/bin/env bash
# Configures and builds Sitrova into ./build (or $BUILD_DIR). Arguments are CMake options;
# BUILD_TARGETS names the ninja targets to build (default: everything); NINJA_JOBS caps the
# parallel compiles (default: ninja's own choice).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${BUILD_DIR:-build}"
launcher=()
if command -v ccache >/dev/null 2>&1; then
  # Clones and work trees of the same sources share one compiler cache.
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" "$@" >/dev/null
ninja -C "$BUILD_DIR" ${NINJA_JOBS:+-j "$NINJA_JOBS"} ${BUILD_TARGETS:-}
