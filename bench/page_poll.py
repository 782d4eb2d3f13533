#!/usr/bin/env python3
"""What the desk's page asks of it, without a browser's own cost: the rooms every second
at the width a laptop shows them, and each picture once, when its address changes, over
one kept-alive connection as a browser keeps.
    page_poll.py URL"""
import http.client
import json
import sys
import time
import urllib.parse

where = urllib.parse.urlsplit(sys.argv[1])
seen = set()
connection = None
while True:
    try:
        if connection is None:
            connection = http.client.HTTPConnection(where.hostname, where.port, timeout=5)
        connection.request("GET", "/api/rooms?width=480")
        view = json.loads(connection.getresponse().read())
        for room in view["rooms"]:
            url = room.get("picture", {}).get("url")
            if url and url not in seen:
                seen.add(url)
                connection.request("GET", url)
                connection.getresponse().read()
    except (OSError, http.client.HTTPException, ValueError):
        connection = None
    time.sleep(1)
