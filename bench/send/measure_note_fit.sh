#!/usr/bin/env bash
# Measures what `pavlune-send note --fit` costs for a camera-sized photo: wall time and
# the sender's peak memory per run, against the real display on the offscreen platform.
# Usage: bench/send/measure_note_fit.sh [BUILD_DIR] [RUNS]
set -euo pipefail

build=${1:-build}
runs=${2:-5}
scratch=$(mktemp -d)
display_pid=
cleanup() {
  if [ -n "$display_pid" ]; then kill "$display_pid" 2>/dev/null || true; wait "$display_pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

# A 12-megapixel portrait photo stand-in with detail, so that decoding and scaling do real work.
convert -size 3000x4000 plasma:fractal -quality 90 "$scratch/photo.jpg" 2>&1

XDG_RUNTIME_DIR=$scratch "$build/pavlune" -platform offscreen --port 0 --size 1920x1080 \
  >"$scratch/display.out" 2>"$scratch/display.err" &
display_pid=$!
port=
for _ in $(seq 1 300); do
  port=$(sed -n 's/.*listening on port \([0-9]*\).*/\1/p' "$scratch/display.out")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "the display did not start" >&2; exit 1; }

echo "photo: 3000x4000 JPEG, $(stat -c %s "$scratch/photo.jpg") bytes; display 1920x1080"
for run in $(seq 1 "$runs"); do
  /usr/bin/time -f "run $run: %e s wall, %M KiB peak" "$build/pavlune-send" --port "$port" note --fit "$scratch/photo.jpg" 2>&1
done
