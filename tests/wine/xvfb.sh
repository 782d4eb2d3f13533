# Sourced by the Wine test scripts: `xvfb_start LOG` starts a private X server of 1280 x 800
# on a display number it picks itself and exports DISPLAY for it; XVFB_PID is its process,
# for the script's own end to stop.

xvfb_start() {
  local log=$1 number displayfd
  # Xvfb says which display it took on the descriptor it is given.
  exec {displayfd}<> <(:)
  Xvfb -displayfd "$displayfd" -screen 0 1280x800x24 -nolisten tcp >"$log" 2>&1 &
  XVFB_PID=$!
  if ! read -r -t 30 number <&"$displayfd"; then
    cat "$log" >&2
    echo "xvfb: no X server" >&2
    return 1
  fi
  export DISPLAY=:$number
  unset WAYLAND_DISPLAY
}
