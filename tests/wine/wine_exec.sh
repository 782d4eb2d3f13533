#!/bin/sh
# CTest's way into Wine for the Windows build (its cross-compiling emulator). Only inside
# the prefix that run_tests.sh makes for a run, never in the user's own ~/.wine.
if [ -z "${PAVLUNE_WINE_RUN:-}" ]; then
  echo "the Windows tests run through tests/wine/run_tests.sh (make test-windows)" >&2
  exit 1
fi
exec wine "$@"
