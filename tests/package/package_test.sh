#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary root with dpkg-deb and checks it
# there, as a display machine would get it: its fields and dependencies, the unpacked
# programs (a display on the offscreen platform driven by the unpacked pavlune-send, the
# unpacked desk watching that display), the manual pages, the desktop entries, the icon,
# the systemd unit, and lintian.
# Usage: package_test.sh BUILD_DIR CMAKE "SEND_COMMANDS"
set -uo pipefail

build=$1
cmake=$2
send_commands=$3
source_dir=$(cd "$(dirname "$0")/../.." && pwd)

work=$(mktemp -d)
display_pid=
desk_pid=
cleanup() {
    local pid
    for pid in $display_pid $desk_pid; do
        kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
source "$(dirname "$0")/check_desk.sh"

# Everything below runs without the caller's display server, configuration, saved pages
# or session lock, and in English.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export LC_ALL=C.UTF-8 HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
export XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

echo "== building the package"
"$cmake" --build "$build" --target deb || { echo "FAIL: make deb failed" >&2; exit 1; }
shopt -s nullglob
debs=("$build"/*.deb)
if [ ${#debs[@]} -ne 1 ]; then
    echo "FAIL: expected one .deb in $build, found ${#debs[@]}: ${debs[*]}" >&2
    exit 1
fi
deb=${debs[0]}
echo "package: $deb ($(stat -c %s "$deb") bytes)"

echo "== fields and dependencies"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
[ "$(dpkg-deb -f "$deb" Package)" = pavlune ] || fail "Package is not pavlune"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is $(dpkg-deb -f "$deb" Version), not $version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
depended=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/^ *//; s/ *$//' | sed '/^$/d')
# What the display loads at run time without linking to it, and one library that
# dpkg-shlibdeps must have found.
for needed in libqt6widgets6 fonts-wqy-microhei fonts-dejavu-core qt6-image-formats-plugins qt6-wayland; do
    grep -qx "$needed" <<<"$depended" || fail "Depends lacks $needed"
done
# Nothing that only building or testing needs.
build_only='.*-dev|build-essential|gcc(-[0-9]+)?|g\+\+(-[0-9]+)?|cpp(-[0-9]+)?|clang.*|libclang.*|llvm.*|cmake.*|ninja-build|pkg-config|help2man|lintian|dpkg-dev|fakeroot|desktop-file-utils|googletest|libgtest.*|libgmock.*|libbenchmark.*|xvfb|xdotool|imagemagick.*|weston'
if bad=$(grep -xE "$build_only" <<<"$depended"); then
    fail "Depends names build or test packages: $(tr '\n' ' ' <<<"$bad")"
fi
# The desk's own library, which only dpkg-shlibdeps names.
grep -qE '^libcpp-httplib[0-9.]+$' <<<"$depended" || fail "Depends lacks the desk's cpp-httplib library"
# The desk opens its page with xdg-open, and prints the address without it.
recommends=$(dpkg-deb -f "$deb" Recommends)
grep -qE '(^|, *)xdg-utils( |,|$)' <<<"$recommends" || fail "Recommends is \"$recommends\", without xdg-utils"
if dpkg-deb -c "$deb" | awk '{print $2}' | grep -vqx root/root; then
    fail "files not owned by root/root"
fi

root=$work/root
dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg-deb -x failed" >&2; exit 1; }
pavlune=$root/usr/bin/pavlune
send=$root/usr/bin/pavlune-send
desk=$root/usr/bin/pavlune-desk

echo "== unpacked programs"
# As a user meets them after installing: by name from the PATH, the manual by name.
if ! out=$(PATH=$root/usr/bin:$PATH pavlune --version 2>&1) || [ "$out" != "pavlune $version" ]; then
    fail "pavlune --version said \"$out\""
fi
if ! PATH=$root/usr/bin:$PATH pavlune-send --help >/dev/null; then
    fail "pavlune-send --help failed"
fi
if ! out=$(PATH=$root/usr/bin:$PATH pavlune-desk --version 2>&1) || [ "$out" != "pavlune-desk $version" ]; then
    fail "pavlune-desk --version said \"$out\""
fi
for program in pavlune pavlune-send pavlune-desk; do
    found=$(MANPATH=$root/usr/share/man man -w "$program" 2>&1)
    [ "$found" = "$root/usr/share/man/man1/$program.1.gz" ] || fail "man $program finds \"$found\""
done
"$pavlune" -platform offscreen --port 0 --size 640x480 >"$work/display.out" 2>"$work/display.err" &
display_pid=$!
port=
for _ in $(seq 200); do
    port=$(sed -n 's/^listening on port \([0-9][0-9]*\)$/\1/p' "$work/display.out")
    [ -n "$port" ] && break
    kill -0 "$display_pid" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$port" ]; then
    fail "the unpacked display did not say which port it listens on: $(cat "$work/display.out" "$work/display.err")"
else
    if ! answer=$("$send" --port "$port" size 2>&1) || ! grep -q '640x480' <<<"$answer"; then
        fail "pavlune-send size answered \"$answer\", not 640x480"
    fi
    check_desk "$port" "$desk"
    kill -TERM "$display_pid"
    for _ in $(seq 200); do
        kill -0 "$display_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$display_pid" 2>/dev/null; then
        fail "the display did not end within 20 s of SIGTERM"
    else
        wait "$display_pid"
        status=$?
        display_pid=
        [ "$status" -eq 0 ] || fail "the display ended with status $status on SIGTERM: $(cat "$work/display.err")"
    fi
fi

echo "== manual pages"
# The options each page must cover: everything its program's help mentions.
declare -A helps=(
    [pavlune]=""
    [pavlune-send]="$send_commands"
    [pavlune-desk]=""
)
for program in pavlune pavlune-send pavlune-desk; do
    page=$root/usr/share/man/man1/$program.1.gz
    if [ ! -f "$page" ]; then
        fail "no manual page $program.1.gz"
        continue
    fi
    # Every troff warning, not only the default ones about macros.
    warnings=$(MANROFFSEQ='' MANWIDTH=80 man --warnings=w -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$program.1 renders with warnings: $warnings"
    roff=$(zcat "$page" | sed 's/\\-/-/g')
    for section in NAME SYNOPSIS DESCRIPTION FILES "EXIT STATUS" EXAMPLES; do
        grep -q "^\.SH \"\?$section\"\?$" <<<"$roff" || fail "$program.1 has no $section section"
    done
    help=$(PAVLUNE_HELP_PROGRAM=$root/usr/bin/$program PAVLUNE_HELP_COMMANDS=${helps[$program]} \
           "$source_dir/data/man/help-all.sh" --help)
    for option in $(grep -oE -- '(^|[^a-zA-Z0-9-])--?[a-z][a-z0-9-]+' <<<"$help" | grep -oE -- '--?[a-z][a-z0-9-]+' | sort -u); do
        grep -qE -- "$option([^a-z0-9-]|\$)" <<<"$roff" || fail "$program.1 does not mention $option"
    done
done
grep -q '^\.SH "\?CONFIGURATION FILE"\?$' <(zcat "$root/usr/share/man/man1/pavlune.1.gz") \
    || fail "pavlune.1 has no CONFIGURATION FILE section"

echo "== desktop entries and icon"
for program in pavlune pavlune-desk; do
    desktop=$root/usr/share/applications/$program.desktop
    if [ ! -f "$desktop" ]; then
        fail "no desktop entry $program.desktop"
        continue
    fi
    if ! out=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$out" ]; then
        fail "desktop-file-validate $program.desktop: $out"
    fi
    exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ "$exec_program" = "$program" ] || fail "$program.desktop runs \"$exec_program\""
    [ -x "$root/usr/bin/$exec_program" ] || fail "$program.desktop runs \"$exec_program\", which the package does not hold"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    icon_file=$root/usr/share/icons/hicolor/scalable/apps/$icon.svg
    if [ ! -f "$icon_file" ]; then
        fail "no icon $icon.svg for $program.desktop"
    elif ! size=$(convert "$icon_file" -format '%wx%h' info: 2>&1) || [ "$size" != 128x128 ]; then
        fail "the icon does not draw as a 128x128 picture: $size"
    fi
done

echo "== systemd unit"
unit=$root/usr/lib/systemd/user/pavlune.service
exec_start=$(sed -n 's/^ExecStart=\([^ ]*\).*/\1/p' "$unit")
[ "$exec_start" = /usr/bin/pavlune ] || fail "the unit starts \"$exec_start\", not /usr/bin/pavlune"
grep -qE '^ExecStart=[^ ]+ (.* )?--fullscreen( |$)' "$unit" || fail "the unit does not start the display full screen"
if command -v systemd-analyze >/dev/null; then
    # The unit as it is, except that it names the program where it was unpacked; its
    # manual page is looked up among the unpacked ones.
    mkdir -p "$work/units"
    sed "s|^ExecStart=/|ExecStart=$root/|" "$unit" >"$work/units/pavlune.service"
    if ! out=$(MANPATH=$root/usr/share/man systemd-analyze --user verify "$work/units/pavlune.service" 2>&1) \
        || [ -n "$out" ]; then
        fail "systemd-analyze verify: $out"
    fi
else
    echo "systemd-analyze is not installed: the unit is not verified"
fi

echo "== lintian"
if ! lintian --fail-on error "$deb"; then
    fail "lintian reports errors"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "package checks passed"
