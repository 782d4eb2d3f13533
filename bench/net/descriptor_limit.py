#!/usr/bin/env python3
"""The display out of file descriptors: started with a limit of 64, then held by 100
silent connections. Prints its CPU use and log lines a second while it is saturated, and
how long a size request takes once the connections are gone.

Usage: bench/net/descriptor_limit.py [path/to/pavlune]   (default build/pavlune)
"""
import os
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time

from display_start import listening_port

PROGRAM = sys.argv[1] if len(sys.argv) > 1 else "build/pavlune"
LIMIT = 64
HELD = 100
SETTLE_S = 2.0
MEASURE_S = 10.0


def frame(json):
    body = json.encode()
    return struct.pack("<ii", 8 + len(body), 0) + body


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def ask_size(port):
    start = time.monotonic()
    with socket.create_connection(("127.0.0.1", port), timeout=10) as s:
        s.sendall(frame('{"pub_MsgID":309}'))
        header = b""
        while len(header) < 4:
            header += s.recv(4 - len(header))
        length = struct.unpack("<i", header)[0]
        got = len(header)
        while got < length:
            got += len(s.recv(length - got))
    return time.monotonic() - start


def main():
    scratch = tempfile.mkdtemp(prefix="pavlune-fd-")
    env = dict(os.environ, XDG_RUNTIME_DIR=scratch, XDG_CONFIG_HOME=scratch, XDG_STATE_HOME=scratch,
               QT_QPA_PLATFORM="offscreen")
    log_path = os.path.join(scratch, "log")
    with open(log_path, "wb") as log:
        display = subprocess.Popen(["prlimit", f"--nofile={LIMIT}:{LIMIT}", PROGRAM, "--port", "0",
                                    "--size", "640x480", "--verbose"],
                                   stdout=subprocess.PIPE, stderr=log, env=env)
        try:
            port = listening_port(display)

            held = [socket.create_connection(("127.0.0.1", port)) for _ in range(HELD)]
            time.sleep(SETTLE_S)
            lines_before = open(log_path, "rb").read().count(b"\n")
            cpu_before = cpu_seconds(display.pid)
            time.sleep(MEASURE_S)
            cpu = (cpu_seconds(display.pid) - cpu_before) / MEASURE_S
            lines = (open(log_path, "rb").read().count(b"\n") - lines_before) / MEASURE_S

            for s in held:
                s.close()
            answer = ask_size(port)
            print(f"descriptor limit {LIMIT}, {HELD} connections held for {MEASURE_S:.0f} s:")
            print(f"  cpu {cpu * 100:.2f} % of a core, {lines:.1f} log lines/s")
            print(f"  size request after release answered in {answer * 1000:.1f} ms")
        finally:
            display.terminate()
            display.wait(10)
            shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
