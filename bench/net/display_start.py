"""Starting the display for the load scripts beside this file."""
import re
import sys


def listening_port(display):
    """The port the started display says it listens on, read from its standard output."""
    while True:
        line = display.stdout.readline().decode()
        if not line:
            sys.exit("the display ended before listening")
        match = re.search(r"listening on port (\d+)", line)
        if match:
            return int(match.group(1))
