#!/usr/bin/env python3
"""The include direction of the source folders: each folder includes only the
folders below it, and nothing outside qt/ includes a Qt header.

Usage: python3 includes.py SOURCE_DIR
Prints every include that breaks the rules and exits 1 when there is one.
"""
import pathlib
import re
import sys

# The folders each folder may include (its own among them). qt/ may include anything.
ALLOWED = {
    "model": {"model"},
    "results": {"model", "results"},
    "engine": {"model", "results", "engine"},
    "graphs": {"model", "results", "graphs"},
    "runs": {"model", "results", "engine", "runs"},
    "shell": {"model", "results", "engine", "graphs", "runs", "shell"},
    # The command line uses the runs and what lies below them, never the window's
    # logic; the chart reaches Qt through a module it loads at run time, never
    # through a header.
    "cli": {"model", "results", "engine", "graphs", "runs", "cli"},
    # The fuzz targets drive the readers below them, as the program does (the
    # runs' too, for the list files and shard summaries of a batch).
    "fuzz": {"model", "results", "engine", "graphs", "runs", "fuzz"},
    # The Python module runs what the command line runs, never the window's logic.
    "python": {"model", "results", "engine", "runs", "python"},
}
SOURCE_FOLDERS = set(ALLOWED) | {"qt"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# <QImage>, <QtGlobal>, <QtCore/qglobal.h>, <QtGui/QImage>, ...
QT_HEADER = re.compile(r"^Q[A-Za-z0-9_]*(/|$)")


def problems(root):
    found = []
    for folder, allowed in sorted(ALLOWED.items()):
        files = sorted(p for p in (root / folder).rglob("*") if p.suffix in {".h", ".hpp", ".cpp"})
        if not files:
            found.append(f"{folder}/: no sources found (wrong source folder?)")
        for path in files:
            for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                delimiter, name = m.groups()
                where = f"{path.relative_to(root)}:{number}: {line.strip()}"
                if delimiter == "<" and QT_HEADER.match(name):
                    found.append(f"{where}: a Qt header outside qt/")
                    continue
                first = name.split("/")[0] if "/" in name else None
                if delimiter == '"' and first is None:
                    found.append(f"{where}: names no folder")
                elif first is not None and (first in SOURCE_FOLDERS or delimiter == '"') and first not in allowed:
                    found.append(f"{where}: {folder}/ must not include {first}/")
    return found


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    found = problems(root)
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} include(s) against the layer order")
        return 1
    print("includes: all folders include downwards only")
    return 0


if __name__ == "__main__":
    sys.exit(main())
