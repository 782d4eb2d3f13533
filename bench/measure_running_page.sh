#!/bin/sh
# The whole program as a room runs it: full screen under Xvfb, showing a running round
# page. Over the measured time it reports, for the display and for the X server, the CPU
# used (percent of one core, from utime + stime in /proc/PID/stat) and the proportional
# set size (PSS, from /proc/PID/smaps_rollup) at the end; for the display also the PSS
# split into anonymous memory, files (libraries, fonts) and shared memory (the window's
# image shared with the X server), which is what other programs mapping the same files
# move around, and its resident size and peak.
#
#   bench/measure_running_page.sh [BUILD_DIR] [SECONDS] [WxH ...]
#
# Defaults: build, 60 seconds, 1920x1080 and 3840x2160.
set -eu

BUILD=${1:-build}
SECONDS_MEASURED=${2:-60}
shift 2 2>/dev/null || shift $#
SIZES=${*:-"1920x1080 3840x2160"}
PAVLUNE=$BUILD/pavlune
SEND=$BUILD/pavlune-send
TICKS=$(getconf CLK_TCK)

cpu_ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
pss_kib() { awk -v key="${2:-Pss}:" '$1 == key { print $2 }' "/proc/$1/smaps_rollup"; }
status_kib() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
percent() { awk -v t="$1" -v s="$SECONDS_MEASURED" -v hz="$TICKS" 'BEGIN { printf "%.2f", 100 * t / hz / s }'; }

for SIZE in $SIZES; do
    SCRATCH=$(mktemp -d)
    exec 3>"$SCRATCH/displayfd"
    Xvfb -displayfd 3 -screen 0 "${SIZE}x24" -nolisten tcp -noreset 2>"$SCRATCH/xvfb.err" &
    XPID=$!
    exec 3>&-
    for _ in $(seq 100); do [ -s "$SCRATCH/displayfd" ] && break; sleep 0.1; done
    DISPLAY=:$(head -n1 "$SCRATCH/displayfd")
    export DISPLAY
    # Its own configuration and saved pages: nothing of an earlier run or of the user's
    # own settings comes into the figures.
    XDG_RUNTIME_DIR=$SCRATCH XDG_CONFIG_HOME=$SCRATCH XDG_STATE_HOME=$SCRATCH QT_QPA_PLATFORM=xcb \
        "$PAVLUNE" --port 0 --fullscreen >"$SCRATCH/out" 2>"$SCRATCH/err" &
    PID=$!
    PORT=
    for _ in $(seq 300); do
        PORT=$(sed -n 's/.*listening on port \([0-9]*\).*/\1/p' "$SCRATCH/out" | head -n1)
        [ -n "$PORT" ] && break
        sleep 0.1
    done
    if [ -z "$PORT" ]; then
        echo "$SIZE: the display did not start" >&2
        kill "$PID" "$XPID" 2>/dev/null || true
        continue
    fi
    "$SEND" --port "$PORT" round --title "Round 4 of 7" --subtitle "Open pairs" --remaining 1500 --length 1800 \
        --boards 1-7 --caption Time --clock-x 50 --clock-y 55 --clock-height 40 --clock-box \
        --title-colour 248,248,232 --clock-colour 248,248,248 --overtime-colour 255,64,64 >/dev/null
    sleep 3
    P0=$(cpu_ticks "$PID")
    X0=$(cpu_ticks "$XPID")
    sleep "$SECONDS_MEASURED"
    P1=$(cpu_ticks "$PID")
    X1=$(cpu_ticks "$XPID")
    echo "$SIZE over ${SECONDS_MEASURED}s:" \
        "pavlune cpu $(percent $((P1 - P0)))% pss $(mib "$(pss_kib "$PID")") MiB" \
        "(anon $(mib "$(pss_kib "$PID" Pss_Anon)") file $(mib "$(pss_kib "$PID" Pss_File)")" \
        "shmem $(mib "$(pss_kib "$PID" Pss_Shmem)"))" \
        "rss $(mib "$(status_kib "$PID" VmRSS)") MiB peak $(mib "$(status_kib "$PID" VmHWM)") MiB;" \
        "Xvfb cpu $(percent $((X1 - X0)))% pss $(mib "$(pss_kib "$XPID")") MiB"
    kill "$PID"
    wait "$PID" 2>/dev/null || true
    kill "$XPID"
    wait "$XPID" 2>/dev/null || true
    rm -rf "$SCRATCH"
done
