# Sourced by the Wine test scripts: a Wine prefix made for one run alone and removed
# afterwards, so that nothing of the user's own ~/.wine (or an earlier run) can change a
# result. Sets WINEPREFIX and the rest; `wine_prefix_make DIR` makes it, `wine_prefix_end`
# stops its server and removes it.

export WINEARCH=win64
export WINEDEBUG=-all
# No .NET or Gecko installer prompts while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="

# The Wine server keeps its socket in a folder of /tmp named after the prefix's device and
# inode (server-<dev>-<inode>, in hexadecimal), which it leaves behind when it ends.
wine_server_dir_name() {
  local dev ino
  read -r dev ino < <(stat -c '%d %i' "$WINEPREFIX")
  printf 'server-%x-%x' "$dev" "$ino"
}

wine_prefix_end() {
  local name dir
  wineserver -k >/dev/null 2>&1 || true
  if [ -d "$WINEPREFIX" ]; then
    name=$(wine_server_dir_name)
    for dir in /tmp/wine-*/"$name" /tmp/.wine-"$(id -u)"/"$name"; do
      [ -d "$dir" ] || continue
      rm -rf "$dir"
      rmdir "$(dirname "$dir")" 2>/dev/null || true
    done
  fi
}

# Registry entries from REG-format lines, written as UTF-16 as regedit wants them.
wine_registry() {
  local file=$1
  shift
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' "$@" | iconv -f UTF-8 -t UTF-16 >"$file"
  wine regedit /S "$(winepath -w "$file")"
}

wine_prefix_make() {
  local dir=$1 started=$SECONDS
  export WINEPREFIX=$dir/prefix
  mkdir -p "$WINEPREFIX"
  # One Wine server for the whole run, and with it Wine's own background processes
  # (services, devices), which the prefix's first program starts: those must start here,
  # with their output to the log. Started by a test program, they would hold its output
  # open, and the test runner would wait for its end for ever.
  wineserver -p
  if ! wineboot -i >"$dir/wineboot.log" 2>&1; then
    cat "$dir/wineboot.log" >&2
    echo "wine: could not make the Wine prefix" >&2
    return 1
  fi
  # The faces the scoring program names, "微软雅黑" and "宋体", are a Chinese Windows' own;
  # here WenQuanYi Micro Hei (fonts-wqy-microhei, which Wine finds through fontconfig) stands
  # in for them, as the prefix's font replacements.
  if ! wine_registry "$dir/fonts.reg" '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
      '"微软雅黑"="WenQuanYi Micro Hei"' '"宋体"="WenQuanYi Micro Hei"' >>"$dir/wineboot.log" 2>&1; then
    cat "$dir/wineboot.log" >&2
    echo "wine: could not set the prefix's font replacements" >&2
    return 1
  fi
  echo "wine: prefix ready in $((SECONDS - started)) s"
}
