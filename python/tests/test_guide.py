"""The code of the guide's Python page (docs/python.md) runs as shown.

Every ```python block runs, in order, in one namespace, in a scratch folder: the pictures
and files it makes land there, never in docs/. A ``` block marked as the shown output of
the Python block above must be what that block printed. ```py blocks (a cluster that is
not there) are not run.
"""
import contextlib
import io
import os
import re

import pytest

from conftest import SOURCE_DIR

PAGE = SOURCE_DIR / "docs" / "python.md"
FENCE = re.compile(r"^```(\w*)\s*$")


def blocks():
    """(language, marker on the line before, code) of every fenced block of the page."""
    lines = PAGE.read_text(encoding="utf-8").split("\n")
    found, i = [], 0
    while i < len(lines):
        m = FENCE.match(lines[i])
        if not m:
            i += 1
            continue
        marker = lines[i - 1].strip() if i > 0 else ""
        end = i + 1
        while not lines[end].startswith("```"):
            end += 1
        found.append((m.group(1), marker, "\n".join(lines[i + 1:end])))
        i = end + 1
    return found


def test_the_guides_python_code_runs_and_prints_what_it_shows(tmp_path, monkeypatch):
    pytest.importorskip("matplotlib")
    monkeypatch.chdir(tmp_path)
    docs_before = sorted(p.name for p in (SOURCE_DIR / "docs").rglob("*"))
    namespace = {"__name__": "guide"}
    printed = ""
    ran = shown = 0
    for lang, marker, code in blocks():
        if lang == "python":
            out = io.StringIO()
            with contextlib.redirect_stdout(out):
                exec(compile(code, f"{PAGE.name} block {ran + 1}", "exec"), namespace)
            printed = out.getvalue()
            ran += 1
        elif lang == "" and "shown output of the Python block above" in marker:
            got = "\n".join(line.rstrip() for line in printed.rstrip("\n").split("\n"))
            assert got == code, f"the guide shows:\n{code}\nthe code printed:\n{got}"
            shown += 1
    assert ran >= 6 and shown == 1
    for picture in ("cr4-dw.png", "cr4-grid.png"):
        assert (tmp_path / picture).read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"
    assert sorted(os.listdir(tmp_path / "run-field")) == ["field.frq", "field.inp", "field.res", "field.trf",
                                                          "warning.lst"]
    assert sorted(p.name for p in (SOURCE_DIR / "docs").rglob("*")) == docs_before
    assert (SOURCE_DIR / "docs" / "images" / "python-cr4-dw.png").exists()
