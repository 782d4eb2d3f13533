#!/usr/bin/env bash
# The Windows display as a room runs it, under Wine on Xvfb: full screen, side by side in
# one run with the least a Win32 clock costs (bench/win32_clock.exe, the same toolchain).
# For each screen size, one Wine prefix whose virtual desktop is the screen; in it, one
# after the other: the clock, the display on a running round page, and the display on its
# information screen. Each line gives the program's CPU (percent of one core), the X
# server's, Wine's own server and desktop, and the program's PSS at the end. The programs
# are measured stripped, as the setup program and the zip install them: Wine loads a
# program's debugging sections into memory with the rest.
#
#   bench/measure_windows.sh [WINDOWS_BUILD] [LINUX_BUILD] [SECONDS] [WxH ...]
#
# Defaults: build-win, build (for pavlune-send), 40 seconds, 1920x1080 and 3840x2160.
set -euo pipefail

WIN_BUILD=$(realpath "${1:-build-win}")
LINUX_BUILD=$(realpath "${2:-build}")
SECONDS_MEASURED=${3:-40}
shift 3 2>/dev/null || shift $#
SIZES=${*:-"1920x1080 3840x2160"}
SEND=$LINUX_BUILD/pavlune-send
HERE=$(dirname "$0")
source "$HERE/lib/measure.sh"
source "$HERE/../tests/wine/prefix.sh"

for f in "$WIN_BUILD/pavlune.exe" "$WIN_BUILD/bench/win32_clock.exe" "$SEND"; do
  [ -x "$f" ] || { echo "measure_windows: no $f (make windows build)" >&2; exit 1; }
done

# The Linux process of a Windows program, by its name (the launcher becomes it).
windows_pid() {
  local name=$1 pid=
  for _ in $(seq 300); do
    pid=$(pgrep -n -x "$name" || true)
    [ -n "$pid" ] && break
    sleep 0.1
  done
  echo "$pid"
}

# Wine's own processes of this run's prefix (other prefixes may be running beside it).
prefix_helpers() {
  local pid
  for pid in $(pgrep -x 'wineserver|explorer.exe|services.exe|winedevice.exe|plugplay.exe|svchost.exe|rpcss.exe'); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && printf '%s ' "$pid"
  done
  true
}

stop_program() {
  kill "$1" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  kill -9 "$1" 2>/dev/null || true
}

XPID=
SCRATCH=
PROGRAMS=$(mktemp -d "${TMPDIR:-/tmp}/pavlune-measure-exe.XXXXXX")
finish() {
  [ -n "$SCRATCH" ] && { wine_prefix_end; rm -rf "$SCRATCH"; }
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null || true
  rm -rf "$PROGRAMS"
}
trap finish EXIT
x86_64-w64-mingw32-strip -o "$PROGRAMS/pavlune.exe" "$WIN_BUILD/pavlune.exe"
x86_64-w64-mingw32-strip -o "$PROGRAMS/win32_clock.exe" "$WIN_BUILD/bench/win32_clock.exe"

for SIZE in $SIZES; do
  SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/pavlune-measure-win.XXXXXX")
  start_xvfb "$SIZE" "$SCRATCH"
  wine_prefix_make "$SCRATCH" >/dev/null
  { wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$SIZE" /f; } >>"$SCRATCH/wineboot.log" 2>&1
  wineserver -k
  wineserver -p
  wineboot >>"$SCRATCH/wineboot.log" 2>&1
  HELPERS=$(prefix_helpers)
  echo "== $SIZE, ${SECONDS_MEASURED}s each, under Wine"

  wine "$PROGRAMS/win32_clock.exe" >/dev/null 2>&1 &
  PID=$(windows_pid win32_clock.exe)
  # shellcheck disable=SC2086
  measure_line "win32_clock.exe (floor)" "$SECONDS_MEASURED" "$PID" "$XPID" $HELPERS
  stop_program "$PID"

  for SUBJECT in round info; do
    wine "$PROGRAMS/pavlune.exe" --port 0 --fullscreen --no-restore >"$SCRATCH/out" 2>"$SCRATCH/err" &
    PORT=$(wait_port "$SCRATCH/out")
    PID=$(windows_pid pavlune.exe)
    if [ -z "$PORT" ] || [ -z "$PID" ]; then
      echo "$SIZE: the display did not start" >&2
      cat "$SCRATCH/err" >&2
      continue
    fi
    if [ "$SUBJECT" = round ]; then
      send_round_page "$SEND" "$PORT"
      LABEL="pavlune.exe, running round page"
    else
      LABEL="pavlune.exe, information screen"
    fi
    # shellcheck disable=SC2086
    measure_line "$LABEL" "$SECONDS_MEASURED" "$PID" "$XPID" $HELPERS
    stop_program "$PID"
  done

  wine_prefix_end
  rm -rf "$SCRATCH"
  SCRATCH=
  kill "$XPID" 2>/dev/null || true
  wait "$XPID" 2>/dev/null || true
  XPID=
done
