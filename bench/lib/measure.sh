# Sourced by the scripts that measure whole programs from outside: CPU (utime + stime of
# /proc/PID/stat, as percent of one core) and memory (PSS from /proc/PID/smaps_rollup).
TICKS=$(getconf CLK_TCK)

cpu_ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
pss_kib() { awk -v key="${2:-Pss}:" '$1 == key { print $2 }' "/proc/$1/smaps_rollup" 2>/dev/null || echo 0; }
status_kib() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status" 2>/dev/null || echo 0; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
# percent TICKS SECONDS
percent() { awk -v t="$1" -v s="$2" -v hz="$TICKS" 'BEGIN { printf "%.2f", 100 * t / hz / s }'; }

# The CPU ticks of several processes together (a missing one counts nothing).
cpu_ticks_sum() {
  local pid sum=0
  for pid in "$@"; do sum=$((sum + $(cpu_ticks "$pid"))); done
  echo "$sum"
}

# Starts an Xvfb of the given size; sets XPID and DISPLAY.
start_xvfb() {
  local size=$1 scratch=$2 number=
  exec 3>"$scratch/displayfd"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 2>"$scratch/xvfb.err" &
  XPID=$!
  exec 3>&-
  for _ in $(seq 100); do [ -s "$scratch/displayfd" ] && break; sleep 0.1; done
  number=$(head -n1 "$scratch/displayfd")
  [ -n "$number" ] || { echo "no X server" >&2; return 1; }
  export DISPLAY=:$number
}

# The port a display printed in FILE as "listening on port N"; empty after 30 s without.
wait_port() {
  local file=$1 port=
  for _ in $(seq 300); do
    port=$(sed -n 's/.*listening on port \([0-9]*\).*/\1/p' "$file" 2>/dev/null | head -n1)
    [ -n "$port" ] && break
    sleep 0.1
  done
  echo "$port"
}

# The round page every measure shows: a clock running down, the time bar and its board.
send_round_page() {
  "$1" --port "$2" round --title "Round 4 of 7" --subtitle "Open pairs" --remaining 1500 --length 1800 \
    --boards 1-7 --caption Time --clock-x 50 --clock-y 55 --clock-height 40 --clock-box \
    --title-colour 248,248,232 --clock-colour 248,248,248 --overtime-colour 255,64,64 >/dev/null
}

# measure_line LABEL SECONDS PID XPID [HELPER_PID...]: settles, then prints over the
# given seconds the program's CPU, the X server's, and that of the helpers together (Wine's
# own server and desktop, which any Windows program there makes work for), and the
# program's PSS at the end.
measure_line() {
  local label=$1 seconds=$2 pid=$3 xpid=$4 p0 p1 x0 x1 h0 h1 helpers=""
  shift 4
  sleep 3
  p0=$(cpu_ticks "$pid")
  x0=$(cpu_ticks "$xpid")
  h0=$(cpu_ticks_sum "$@")
  sleep "$seconds"
  p1=$(cpu_ticks "$pid")
  x1=$(cpu_ticks "$xpid")
  h1=$(cpu_ticks_sum "$@")
  [ $# -gt 0 ] && helpers="  wine $(percent $((h1 - h0)) "$seconds")%"
  printf '%-40s cpu %6s%%  X %5s%%%s  pss %6s MiB  rss %6s MiB\n' "$label" \
    "$(percent $((p1 - p0)) "$seconds")" "$(percent $((x1 - x0)) "$seconds")" "$helpers" \
    "$(mib "$(pss_kib "$pid")")" "$(mib "$(status_kib "$pid" VmRSS)")"
}
