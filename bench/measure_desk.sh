#!/usr/bin/env bash
# The desk as a director runs it: watching ROOMS displays (offscreen, 1920x1080, each on a
# running round page) with its page open (bench/page_poll.py asks what the page asks).
# Side by side in one run:
#   - the displays alone, no one asking them (their own floor);
#   - the least a desk can cost (bench/floor/status_poll: every room's status every 2 s,
#     nothing kept, served or drawn) and the displays it asks;
#   - pavlune-desk and the displays it watches.
# Each line gives the asking program's CPU (percent of one core) and PSS, and the displays'
# CPU as the mean of one display.
#
#   bench/measure_desk.sh [BUILD_DIR] [SECONDS] [ROOMS]
#
# Defaults: build, 60 seconds, 20 rooms.
set -euo pipefail

BUILD=${1:-build}
SECONDS_MEASURED=${2:-60}
ROOMS=${3:-20}
PAVLUNE=$BUILD/pavlune
SEND=$BUILD/pavlune-send
DESK=$BUILD/pavlune-desk
FLOOR=$BUILD/bench/floor/status_poll
POLL=$(dirname "$0")/page_poll.py
source "$(dirname "$0")/lib/measure.sh"

for f in "$PAVLUNE" "$SEND" "$DESK" "$FLOOR"; do
  [ -x "$f" ] || { echo "measure_desk: no $f (make build)" >&2; exit 1; }
done

SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/pavlune-desk-bench.XXXXXX")
PIDS=()
finish() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$SCRATCH"
}
trap finish EXIT

DISPLAYS=()
PORTS=()
for i in $(seq "$ROOMS"); do
  dir=$SCRATCH/room$i
  mkdir -p "$dir"
  XDG_RUNTIME_DIR=$dir XDG_STATE_HOME=$dir XDG_CONFIG_HOME=$dir QT_QPA_PLATFORM=offscreen \
    "$PAVLUNE" --port 0 --size 1920x1080 --no-restore >"$dir/out" 2>&1 &
  DISPLAYS+=($!)
  PIDS+=($!)
done
for i in $(seq "$ROOMS"); do
  port=$(wait_port "$SCRATCH/room$i/out")
  [ -n "$port" ] || { echo "measure_desk: display $i did not start" >&2; exit 1; }
  PORTS+=("$port")
  send_round_page "$SEND" "$port"
done

# measure LABEL [PID]: the asking program's CPU and PSS, and the mean display's CPU.
measure() {
  local label=$1 pid=${2:-} a0=0 a1=0 d0 d1
  sleep 5
  [ -n "$pid" ] && a0=$(cpu_ticks "$pid")
  d0=$(cpu_ticks_sum "${DISPLAYS[@]}")
  sleep "$SECONDS_MEASURED"
  [ -n "$pid" ] && a1=$(cpu_ticks "$pid")
  d1=$(cpu_ticks_sum "${DISPLAYS[@]}")
  local asker="     -              -    "
  [ -n "$pid" ] && asker=$(printf 'cpu %6s%%  pss %5s MiB' "$(percent $((a1 - a0)) "$SECONDS_MEASURED")" \
    "$(mib "$(pss_kib "$pid")")")
  printf '%-34s %s   one display cpu %6s%%\n' "$label" "$asker" \
    "$(percent $(((d1 - d0) / ROOMS)) "$SECONDS_MEASURED")"
}

echo "$ROOMS rooms, ${SECONDS_MEASURED} s each"
measure "displays alone"

"$FLOOR" "${PORTS[@]}" &
floor_pid=$!
PIDS+=("$floor_pid")
measure "floor: status_poll" "$floor_pid"
kill "$floor_pid"

room_args=()
for i in $(seq "$ROOMS"); do room_args+=(--room "Room $i=127.0.0.1:${PORTS[$((i - 1))]}"); done
XDG_CONFIG_HOME=$SCRATCH/desk "$DESK" --no-browser --port 0 "${room_args[@]}" >"$SCRATCH/desk.out" 2>&1 &
desk_pid=$!
PIDS+=("$desk_pid")
for _ in $(seq 100); do grep -q serving "$SCRATCH/desk.out" && break; sleep 0.1; done
url=$(sed -n 's/.*serving \(http[^ ]*\).*/\1/p' "$SCRATCH/desk.out")
python3 "$POLL" "$url" &
PIDS+=($!)
measure "pavlune-desk, page open" "$desk_pid"
