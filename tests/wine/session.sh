# Sourced by the Wine test scripts: `wine_session_start NAME` makes a folder for the run
# (RUN_DIR), a private X server (xvfb.sh) and a Wine prefix of the run's own (prefix.sh),
# and ends all three when the script exits.

source "$(dirname "${BASH_SOURCE[0]}")/prefix.sh"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

wine_session_end() {
  wine_prefix_end
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$RUN_DIR"
}

wine_session_start() {
  RUN_DIR=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
  XVFB_PID=
  trap wine_session_end EXIT
  xvfb_start "$RUN_DIR/xvfb.log"
  wine_prefix_make "$RUN_DIR"
}
