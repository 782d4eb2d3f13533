#!/usr/bin/env bash
# The arm64 Debian package, checked on this amd64 machine as far as QEMU's user-mode
# emulation allows: unpacked with dpkg-deb, its display started under qemu-aarch64 on the
# offscreen platform and driven by the amd64 pavlune-send, its round page drawn like the
# amd64 display's, its desk under qemu-aarch64 watching that display, its Depends all
# available for arm64, and lintian.
# Usage: arm64_package_test.sh ARM64_BUILD_DIR AMD64_BUILD_DIR
set -uo pipefail

arm64_build=$1
amd64_build=$2
send=$amd64_build/pavlune-send
# The arm64 loader, C library, other libraries and Qt's plug-ins all come from their
# multiarch folders under / (see cmake/aarch64-linux-gnu.cmake).
qemu=(qemu-aarch64 -L /)

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

unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export LC_ALL=C.UTF-8 HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
export XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

shopt -s nullglob
debs=("$arm64_build"/*_arm64.deb)
if [ ${#debs[@]} -ne 1 ]; then
    echo "FAIL: expected one arm64 .deb in $arm64_build, found ${#debs[@]}: ${debs[*]}" >&2
    exit 1
fi
deb=${debs[0]}
echo "package: $deb ($(stat -c %s "$deb") bytes)"

echo "== fields and dependencies"
[ "$(dpkg-deb -f "$deb" Architecture)" = arm64 ] || fail "Architecture is $(dpkg-deb -f "$deb" Architecture), not arm64"
echo "Installed-Size: $(dpkg-deb -f "$deb" Installed-Size)"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
depended=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/^ *//; s/ *$//' | sed '/^$/d' | sort -u)
grep -qx libqt6widgets6 <<<"$depended" || fail "Depends lacks libqt6widgets6: dpkg-shlibdeps found no Qt"
grep -qE '^libcpp-httplib[0-9.]+$' <<<"$depended" || fail "Depends lacks the desk's cpp-httplib library"
for package in $depended; do
    # Architecture-independent packages (fonts) show as all, the rest as arm64.
    # apt-cache shows nothing for PKG:arm64 when PKG is built once for all architectures.
    records=$(apt-cache show "$package:arm64" 2>/dev/null)
    [ -n "$records" ] || records=$(apt-cache show "$package" 2>/dev/null)
    arch=$(sed -n 's/^Architecture: //p' <<<"$records" | sort -u | tr '\n' ' ')
    case " $arch" in
        *" arm64 "* | *" all "*) ;;
        *) fail "Depends names $package, which Debian does not have for arm64" ;;
    esac
done

root=$work/root
dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg-deb -x failed" >&2; exit 1; }
for program in pavlune pavlune-send pavlune-desk; do
    file "$root/usr/bin/$program" | grep -q 'ARM aarch64' || fail "usr/bin/$program is not an arm64 program"
done
version=$(dpkg-deb -f "$deb" Version)
if ! out=$("${qemu[@]}" "$root/usr/bin/pavlune-desk" --version 2>&1) || [ "$out" != "pavlune-desk $version" ]; then
    fail "the arm64 pavlune-desk --version said \"$out\""
fi

# Starts a display on the offscreen platform, 1280x720, writing its snapshots to $2;
# sets display_pid and display_port.
start_display() {
    local name=$1 snapshot=$2
    shift 2
    mkdir -p "$work/$name/state"
    chmod 700 "$work/$name"
    XDG_STATE_HOME=$work/$name/state XDG_RUNTIME_DIR=$work/$name \
        "$@" -platform offscreen --port 0 --size 1280x720 --snapshot "$snapshot" --no-restore \
        >"$work/$name.out" 2>"$work/$name.err" &
    display_pid=$!
    display_port=
    local _
    for _ in $(seq 300); do
        display_port=$(sed -n 's/^listening on port \([0-9][0-9]*\)$/\1/p' "$work/$name.out")
        [ -n "$display_port" ] && return 0
        kill -0 "$display_pid" 2>/dev/null || break
        sleep 0.1
    done
    fail "the $name display did not say which port it listens on: $(cat "$work/$name.out" "$work/$name.err")"
    return 1
}

# Ends the display as its unit would, and expects a clean end within 20 s; one that
# hangs is killed, so that the test itself always ends.
stop_display() {
    local name=$1 status _
    kill -TERM "$display_pid" 2>/dev/null
    for _ in $(seq 200); do
        kill -0 "$display_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$display_pid" 2>/dev/null; then
        kill -KILL "$display_pid"
        wait "$display_pid" 2>/dev/null
        display_pid=
        fail "the $name display did not end within 20 s of SIGTERM"
        return
    fi
    wait "$display_pid"
    status=$?
    display_pid=
    [ "$status" -eq 0 ] || fail "the $name display ended with status $status on SIGTERM: $(cat "$work/$name.err")"
}

# The round page both displays draw. Its clock has not begun (remaining beyond the
# length), so it reads "=10:SS=": the '=' signs fix its left and right edges and the
# minutes' 0 its top and bottom, whichever second each snapshot catches.
clock_colour='#12eb34'
round=(round --title "Round 3" --subtitle "Boards 9-16" --length 600 --remaining 1230 --boards 9-16
       --clock-colour "$clock_colour")

# The bounding box (WxH+X+Y) of the pixels in exactly the clock's colour, once the
# snapshot shows them.
clock_box() {
    local snapshot=$1 box _
    for _ in $(seq 300); do
        if [ -s "$snapshot" ] &&
            box=$(convert "$snapshot" -fill black +opaque "$clock_colour" -format '%@' info: 2>/dev/null) &&
            [ -n "$box" ] && [ "${box%%x*}" != 0 ]; then
            echo "$box"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

declare -A boxes sizes
for side in amd64 arm64; do
    echo "== the $side display"
    snapshot=$work/$side.png
    if [ "$side" = arm64 ]; then
        program=("${qemu[@]}" "$root/usr/bin/pavlune")
    else
        program=("$amd64_build/pavlune")
    fi
    start_display "$side" "$snapshot" "${program[@]}" || { stop_display "$side"; continue; }
    if ! answer=$("$send" --port "$display_port" size 2>&1) || ! grep -q '1280x720' <<<"$answer"; then
        fail "the $side display answered the size request with \"$answer\", not 1280x720"
    fi
    if ! answer=$("$send" --port "$display_port" "${round[@]}" 2>&1); then
        fail "the $side display did not take the round page: $answer"
    elif ! boxes[$side]=$(clock_box "$snapshot"); then
        fail "the $side display's snapshot shows no clock in $clock_colour"
    else
        sizes[$side]=$(identify -format '%wx%h' "$snapshot")
        echo "snapshot ${sizes[$side]}, clock at ${boxes[$side]}"
    fi
    if [ "$side" = arm64 ]; then
        check_desk "$display_port" "${qemu[@]}" "$root/usr/bin/pavlune-desk"
    fi
    stop_display "$side"
done

if [ -n "${boxes[amd64]:-}" ] && [ -n "${boxes[arm64]:-}" ]; then
    [ "${sizes[arm64]}" = "${sizes[amd64]}" ] || fail "the arm64 snapshot is ${sizes[arm64]}, the amd64 one ${sizes[amd64]}"
    read -r aw ah ax ay <<<"$(tr 'x+' '  ' <<<"${boxes[amd64]}")"
    read -r bw bh bx by <<<"$(tr 'x+' '  ' <<<"${boxes[arm64]}")"
    # Left, top, right and bottom edges, each within 2 pixels.
    for pair in "$ax $bx" "$ay $by" "$((ax + aw)) $((bx + bw))" "$((ay + ah)) $((by + bh))"; do
        read -r a b <<<"$pair"
        if [ $((a - b)) -gt 2 ] || [ $((b - a)) -gt 2 ]; then
            fail "the arm64 clock is at ${boxes[arm64]}, the amd64 clock at ${boxes[amd64]}"
            break
        fi
    done
fi

echo "== lintian"
if ! lintian --fail-on error "$deb"; then
    fail "lintian reports errors"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "arm64 package checks passed"
