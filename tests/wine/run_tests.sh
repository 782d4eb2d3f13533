#!/usr/bin/env bash
# Runs the cross-built Windows tests under Wine, in a Wine prefix made for this run alone
# and removed afterwards, so that nothing of the user's own ~/.wine (or an earlier run)
# can change a result.
#   tests/wine/run_tests.sh [BUILD_DIR] [CTEST_ARGS...]    (BUILD_DIR: build-win)
set -euo pipefail

build=${1:-build-win}
shift || true
[ -f "$build/CTestTestfile.cmake" ] || { echo "run_tests: no Windows build in $build (make windows)" >&2; exit 1; }

run_dir=$(mktemp -d "${TMPDIR:-/tmp}/pavlune-wine.XXXXXX")
export WINEPREFIX=$run_dir/prefix
export WINEARCH=win64
export WINEDEBUG=-all
# No .NET or Gecko installer prompts while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
export PAVLUNE_WINE_RUN=1
# Console programs only: no window may open on the user's screen.
unset DISPLAY WAYLAND_DISPLAY

# The Wine server keeps its socket in a folder of /tmp named after the prefix's device and
# inode (server-<dev>-<inode>, in hexadecimal), which it leaves behind when it ends.
server_dir_name() {
  local dev ino
  read -r dev ino < <(stat -c '%d %i' "$WINEPREFIX")
  printf 'server-%x-%x' "$dev" "$ino"
}

cleanup() {
  local name dir
  wineserver -k >/dev/null 2>&1 || true
  if [ -d "$WINEPREFIX" ]; then
    name=$(server_dir_name)
    for dir in /tmp/wine-*/"$name" /tmp/.wine-"$(id -u)"/"$name"; do
      [ -d "$dir" ] || continue
      rm -rf "$dir"
      rmdir "$(dirname "$dir")" 2>/dev/null || true
    done
  fi
  rm -rf "$run_dir"
}
trap cleanup EXIT

# One Wine server for the whole run, and with it Wine's own background processes (services,
# devices), which the prefix's first program starts: those must start here, with their
# output to the log. Started by a test program, they would hold its output open, and CTest
# would wait for its end for ever.
started=$SECONDS
mkdir -p "$WINEPREFIX"
wineserver -p
if ! wineboot -i >"$run_dir/wineboot.log" 2>&1; then
  cat "$run_dir/wineboot.log" >&2
  echo "run_tests: could not make the Wine prefix" >&2
  exit 1
fi
# The faces the scoring program names, "微软雅黑" and "宋体", are a Chinese Windows' own;
# here WenQuanYi Micro Hei (fonts-wqy-microhei, which Wine finds through fontconfig) stands in
# for them, as the prefix's font replacements.
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
  '"微软雅黑"="WenQuanYi Micro Hei"' '"宋体"="WenQuanYi Micro Hei"' |
  iconv -f UTF-8 -t UTF-16 >"$run_dir/fonts.reg"
if ! wine regedit /S "$(winepath -w "$run_dir/fonts.reg")" >>"$run_dir/wineboot.log" 2>&1; then
  cat "$run_dir/wineboot.log" >&2
  echo "run_tests: could not set the prefix's font replacements" >&2
  exit 1
fi
echo "run_tests: Wine prefix ready in $((SECONDS - started)) s"

ctest --test-dir "$build" --output-on-failure --no-tests=error -j "${JOBS:-2}" "$@"
