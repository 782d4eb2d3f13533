#!/usr/bin/env bash
# The desk's page across the platforms under Wine: a private X server for the Windows
# display's window, a Wine prefix made for this run alone, and Chromium on this machine.
#   tests/desk_browser/run_wine.sh [WINDOWS_BUILD] [LINUX_BUILD]
set -euo pipefail

here=$(dirname "$(realpath "$0")")
win_build=$(realpath "${1:-build-win}")
linux_build=$(realpath "${2:-build}")
for program in "$win_build/pavlune.exe" "$win_build/pavlune-desk.exe"; do
  [ -x "$program" ] || { echo "run_wine: no $program (make windows)" >&2; exit 1; }
done
for program in pavlune pavlune-desk pavlune-send; do
  [ -x "$linux_build/$program" ] || { echo "run_wine: no $linux_build/$program (make build)" >&2; exit 1; }
done

source "$here/../wine/session.sh"
wine_session_start pavlune-desk-wine-prefix
node "$here/wine_desk_test.mjs" "$win_build" "$linux_build"
