#!/usr/bin/env python3
"""The real display (offscreen, 1920 x 1080) under the loads a room's network can bring:
size-request round trips, a size request behind 200 queued round pages, 100 simultaneous
size requests, and an 8 MiB JSON frame while another peer keeps asking for the size.

Usage: bench/net/display_load.py [build directory]   (default build)
"""
import os
import shutil
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time

from display_start import listening_port

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build"


def frame(json, attach=b""):
    body = json.encode()
    return struct.pack("<ii", 8 + len(body) + len(attach), len(attach)) + body + attach


SIZE_REQUEST = frame('{"pub_MsgID":309}')


def read_frame(s):
    data = b""
    while len(data) < 4:
        chunk = s.recv(4 - len(data))
        if not chunk:
            return data
        data += chunk
    length = struct.unpack("<i", data[:4])[0]
    while len(data) < length:
        chunk = s.recv(length - len(data))
        if not chunk:
            break
        data += chunk
    return data


def ask_size(port):
    start = time.monotonic()
    with socket.create_connection(("127.0.0.1", port), timeout=30) as s:
        s.sendall(SIZE_REQUEST)
        reply = read_frame(s)
    return time.monotonic() - start, reply


def captured_round_page(env):
    """The frame pavlune-send makes of a typical round page."""
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    port = listener.getsockname()[1]
    sender = subprocess.Popen([os.path.join(BUILD, "pavlune-send"), "--port", str(port), "round",
                               "--title", "Round 3 of 7", "--subtitle", "Section A", "--remaining", "1500",
                               "--length", "2400", "--boards", "17-24", "--caption", "Next: round 4"], env=env)
    conn, _ = listener.accept()
    data = read_frame(conn)
    conn.close()
    listener.close()
    sender.wait(30)
    return data


def status_kb(pid, field):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return 0


def main():
    scratch = tempfile.mkdtemp(prefix="pavlune-load-")
    env = dict(os.environ, XDG_RUNTIME_DIR=scratch, XDG_CONFIG_HOME=scratch, XDG_STATE_HOME=scratch,
               QT_QPA_PLATFORM="offscreen")
    display = subprocess.Popen([os.path.join(BUILD, "pavlune"), "--port", "0", "--size", "1920x1080"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    try:
        port = listening_port(display)
        round_page = captured_round_page(env)

        trips = [ask_size(port)[0] for _ in range(300)]
        expected = ask_size(port)[1]
        print(f"size request round trip: median {statistics.median(trips) * 1000:.2f} ms, "
              f"max {max(trips) * 1000:.2f} ms ({len(trips)} requests)")

        pages = []
        for _ in range(200):
            s = socket.create_connection(("127.0.0.1", port))
            s.sendall(round_page)
            pages.append(s)
        behind, reply = ask_size(port)
        print(f"size request behind 200 round pages: {behind * 1000:.1f} ms, exact: {reply == expected}")
        for s in pages:
            s.close()
        time.sleep(1)

        crowd = [socket.create_connection(("127.0.0.1", port)) for _ in range(100)]
        start = time.monotonic()
        for s in crowd:
            s.sendall(SIZE_REQUEST)
        exact = sum(read_frame(s) == expected for s in crowd)
        last = time.monotonic() - start
        for s in crowd:
            s.close()
        print(f"100 simultaneous size requests: {exact} answered exactly, the last after {last * 1000:.1f} ms")
        time.sleep(1)

        big = frame('{"pub_MsgID":303,"1":"' + "[" * (8 * 1024 * 1024) + '"}')
        with open(f"/proc/{display.pid}/clear_refs", "w") as f:
            f.write("5")
        rss_before = status_kb(display.pid, "VmRSS")
        others = []
        sending = True

        def keep_asking():
            while sending:
                others.append(ask_size(port)[0])

        asker = threading.Thread(target=keep_asking)
        asker.start()
        with socket.create_connection(("127.0.0.1", port)) as s:
            s.sendall(big + SIZE_REQUEST)
            answered = read_frame(s) == expected
        sending = False
        asker.join()
        rise = (status_kb(display.pid, "VmHWM") - rss_before) / 1024
        print(f"8 MiB JSON frame: peak resident set +{rise:.1f} MiB; others' size requests meanwhile: "
              f"max {max(others) * 1000:.1f} ms over {len(others)}; its own size request answered: {answered}")
    finally:
        display.terminate()
        display.wait(10)
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
