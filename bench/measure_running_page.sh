#!/usr/bin/env bash
# The whole program as a room runs it: full screen under Xvfb, side by side in one run
# with the least a Qt clock costs (bench/floor/qt_clock, the same Qt). For each screen
# size, one after the other: the clock, the display on a running round page, and the
# display on its information screen. Each line gives the program's CPU (percent of one
# core, from utime + stime in /proc/PID/stat), the X server's, and the program's PSS and
# resident size at the end; the display's line also splits its PSS into anonymous memory,
# files (libraries, fonts) and shared memory (the window's image shared with the X server).
#
#   bench/measure_running_page.sh [BUILD_DIR] [SECONDS] [WxH ...]
#
# Defaults: build, 60 seconds, 1920x1080 and 3840x2160.
set -euo pipefail

BUILD=${1:-build}
SECONDS_MEASURED=${2:-60}
shift 2 2>/dev/null || shift $#
SIZES=${*:-"1920x1080 3840x2160"}
PAVLUNE=$BUILD/pavlune
SEND=$BUILD/pavlune-send
CLOCK=$BUILD/bench/floor/qt_clock
source "$(dirname "$0")/lib/measure.sh"

for f in "$PAVLUNE" "$SEND" "$CLOCK"; do
  [ -x "$f" ] || { echo "measure_running_page: no $f (make build)" >&2; exit 1; }
done

XPID=
SCRATCH=
finish() {
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null || true
  [ -n "$SCRATCH" ] && rm -rf "$SCRATCH"
}
trap finish EXIT

stop_program() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

for SIZE in $SIZES; do
  SCRATCH=$(mktemp -d)
  start_xvfb "$SIZE" "$SCRATCH"
  echo "== $SIZE, ${SECONDS_MEASURED}s each, Qt on Xvfb"

  QT_QPA_PLATFORM=xcb "$CLOCK" >/dev/null 2>&1 &
  PID=$!
  measure_line "qt_clock (floor)" "$SECONDS_MEASURED" "$PID" "$XPID"
  stop_program "$PID"

  for SUBJECT in round info; do
    # Its own configuration and saved pages: nothing of an earlier run or of the user's
    # own settings comes into the figures.
    XDG_RUNTIME_DIR=$SCRATCH XDG_CONFIG_HOME=$SCRATCH XDG_STATE_HOME=$SCRATCH QT_QPA_PLATFORM=xcb \
      "$PAVLUNE" --port 0 --fullscreen --no-restore >"$SCRATCH/out" 2>"$SCRATCH/err" &
    PID=$!
    PORT=$(wait_port "$SCRATCH/out")
    if [ -z "$PORT" ]; then
      echo "$SIZE: the display did not start" >&2
      stop_program "$PID"
      continue
    fi
    if [ "$SUBJECT" = round ]; then
      send_round_page "$SEND" "$PORT"
      LABEL="pavlune, running round page"
    else
      LABEL="pavlune, information screen"
    fi
    measure_line "$LABEL" "$SECONDS_MEASURED" "$PID" "$XPID"
    echo "    pss split: anon $(mib "$(pss_kib "$PID" Pss_Anon)") file $(mib "$(pss_kib "$PID" Pss_File)")" \
      "shmem $(mib "$(pss_kib "$PID" Pss_Shmem)") MiB; peak rss $(mib "$(status_kib "$PID" VmHWM)") MiB"
    stop_program "$PID"
    rm -f "$SCRATCH/out"
  done

  kill "$XPID" 2>/dev/null || true
  wait "$XPID" 2>/dev/null || true
  XPID=
  rm -rf "$SCRATCH"
  SCRATCH=
done
