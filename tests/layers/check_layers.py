#!/usr/bin/env python3
"""Reads every #include line under src/ and tools/ and fails, naming the file and the
include, where a folder reaches up the layer order, or where Qt or windows.h shows up
outside the folders that are allowed them.

    tests/layers/check_layers.py [SOURCE_DIR]
"""
import pathlib
import re
import sys

# Top to bottom. Folders on one line are neighbours: neither includes the other.
LAYERS = [
    ["tools/send", "tools/desk"],
    ["tools/common"],
    ["src/app/qt", "src/app/win32"],
    ["src/core"],
    ["src/options"],
    ["src/display/drawing", "src/display/saved"],
    ["src/display/pages"],
    ["src/net"],
    ["src/msg", "src/sound"],
    ["src/draw/qt", "src/draw/win32"],
    ["src/draw"],
    ["src/os"],
    ["src/text"],
]
RANK = {folder: rank for rank, row in enumerate(LAYERS) for folder in row}
QT_FOLDERS = {"src/draw/qt", "src/app/qt"}
WIN32_FOLDERS = {"src/draw/win32", "src/app/win32"}
# windows.h, and the system headers that bring it in with them.
WIN32_HEADERS = {"windows.h", "winsock2.h", "ws2tcpip.h", "iphlpapi.h", "mmsystem.h", "wincodec.h",
                 "shellapi.h", "shlobj.h", "objbase.h", "commctrl.h", "winuser.h", "wingdi.h"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^(Qt[A-Za-z]*/|Q[A-Z][A-Za-z]*$|q[a-z]+\.h$)")


def folder_of(path: str) -> str | None:
    """The deepest folder of the layer table that holds path."""
    parts = path.split("/")
    for cut in range(len(parts) - 1, 0, -1):
        folder = "/".join(parts[:cut])
        if folder in RANK:
            return folder
    return None


def problems(root: pathlib.Path):
    for source in sorted(list(root.glob("src/**/*")) + list(root.glob("tools/**/*"))):
        if source.suffix not in (".h", ".cpp") or not source.is_file():
            continue
        name = source.relative_to(root).as_posix()
        home = folder_of(name)
        if home is None:
            yield f"{name}: its folder has no place in the layer order"
            continue
        for number, line in enumerate(source.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            quoted, header = match.group(1) == '"', match.group(2)
            where = f"{name}:{number}: {line.strip()}"
            if quoted:
                target = next((folder_of(base + header) for base in ("src/", "tools/")
                               if (root / base / header).exists()), None)
                if target is None:
                    continue  # a header beside the file, or one of the file's own program
                if target != home and RANK[target] <= RANK[home]:
                    yield f"{where}: {home} may not include from {target}, which is not below it"
            elif QT_HEADER.match(header) and home not in QT_FOLDERS:
                yield f"{where}: Qt outside src/draw/qt and src/app/qt"
            elif header.lower() in WIN32_HEADERS and home not in WIN32_FOLDERS \
                    and not source.stem.endswith("_win32"):
                yield f"{where}: {header} outside the win32 folders and _win32 files"


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    found = list(problems(root))
    for problem in found:
        print(problem)
    if found:
        print(f"{len(found)} include(s) against the layer order")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
