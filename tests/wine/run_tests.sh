#!/usr/bin/env bash
# Runs the cross-built Windows tests under Wine, in a Wine prefix made for this run alone.
#   tests/wine/run_tests.sh [BUILD_DIR] [CTEST_ARGS...]    (BUILD_DIR: build-win)
set -euo pipefail

build=${1:-build-win}
shift || true
[ -f "$build/CTestTestfile.cmake" ] || { echo "run_tests: no Windows build in $build (make windows)" >&2; exit 1; }

source "$(dirname "$0")/prefix.sh"
run_dir=$(mktemp -d "${TMPDIR:-/tmp}/pavlune-wine.XXXXXX")
trap 'wine_prefix_end; rm -rf "$run_dir"' EXIT
export PAVLUNE_WINE_RUN=1
# Console programs only: no window may open on the user's screen.
unset DISPLAY WAYLAND_DISPLAY

wine_prefix_make "$run_dir"
ctest --test-dir "$build" --output-on-failure --no-tests=error -j "${JOBS:-2}" "$@"
