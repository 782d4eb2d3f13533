#!/usr/bin/env python3
"""What the desk's page asks of it, without a browser's own cost: the rooms every second
at the width a laptop shows them, and each picture once, when its address changes.
    page_poll.py URL"""
import json
import sys
import time
import urllib.request

base = sys.argv[1].rstrip("/")
seen = set()
while True:
    try:
        with urllib.request.urlopen(base + "/api/rooms?width=480") as reply:
            view = json.load(reply)
        for room in view["rooms"]:
            url = room.get("picture", {}).get("url")
            if url and url not in seen:
                seen.add(url)
                urllib.request.urlopen(base + url).read()
    except OSError:
        pass
    time.sleep(1)
