# Sourced by the package tests. check_desk PORT DESK_COMMAND...: the unpacked desk, started
# with the command given (under QEMU for another architecture), watching the display on
# PORT of this machine; its page must see that display answer, and SIGTERM must end it
# with status 0. Uses the caller's fail and $work, and keeps the desk's process in
# desk_pid for the caller's clean-up.

check_desk() {
    local display_port=$1 page= rooms= status _
    shift
    "$@" --no-browser --port 0 --room "Hall=127.0.0.1:$display_port" >"$work/desk.out" 2>"$work/desk.err" &
    desk_pid=$!
    for _ in $(seq 300); do
        page=$(sed -n 's|^pavlune-desk: serving \(http://127\.0\.0\.1:[0-9]*/\)$|\1|p' "$work/desk.out")
        [ -n "$page" ] && break
        kill -0 "$desk_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$page" ]; then
        fail "the unpacked desk did not say where it serves: $(cat "$work/desk.out" "$work/desk.err")"
        return
    fi
    for _ in $(seq 300); do
        rooms=$(curl -sS -m 5 "${page}api/rooms" 2>&1)
        grep -q '"state":"answering"' <<<"$rooms" && break
        sleep 0.1
    done
    grep -q '"name":"Hall".*"state":"answering"' <<<"$rooms" \
        || fail "the desk's page does not show the display answering: $rooms"
    kill -TERM "$desk_pid"
    for _ in $(seq 200); do
        kill -0 "$desk_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$desk_pid" 2>/dev/null; then
        fail "the desk did not end within 20 s of SIGTERM"
        return
    fi
    wait "$desk_pid"
    status=$?
    desk_pid=
    [ "$status" -eq 0 ] || fail "the desk ended with status $status on SIGTERM: $(cat "$work/desk.err")"
}
