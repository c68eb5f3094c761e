"""Paths and helpers of the Python package's tests.

Run from the project folder: PYTHONPATH=build/release/python /usr/bin/python3 -m pytest python/tests
(ctest runs them as the test `python_tests`). The built veltra program and the reviewed
whole-run cases are found through the environment CTest sets, or beside this folder.
"""
import os
import pathlib
import subprocess

import pytest

SOURCE_DIR = pathlib.Path(os.environ.get("VELTRA_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))
# The reviewed whole-run cases (one folder per case: its inputs and results).
REFERENCE_DIR = pathlib.Path(os.environ.get("VELTRA_REFERENCE_DIR", SOURCE_DIR / "tests" / "reference" / "shared"))
# The reviewed results of the bundled examples.
EXAMPLE_RESULTS = SOURCE_DIR / "tests" / "reference" / "examples"
VELTRA = pathlib.Path(os.environ.get("VELTRA_BINARY", SOURCE_DIR / "build" / "release" / "veltra"))
EXAMPLES = SOURCE_DIR / "examples"


def reference_cases():
    """Every case folder: (name, folder)."""
    return sorted((p.name, p) for p in REFERENCE_DIR.iterdir() if p.is_dir())


def case_inputs(folder):
    """The input files of a case folder in series order: NAME.inp, then NAME2.inp, NAME3.inp, ..."""
    first = folder / f"{folder.name}.inp"
    later = []
    k = 2
    while (folder / f"{folder.name}{k}.inp").exists():
        later.append(folder / f"{folder.name}{k}.inp")
        k += 1
    return [first] + later


def run_veltra(*args, cwd):
    """The built veltra program's exit status, standard output and standard error."""
    p = subprocess.run([str(VELTRA), *map(str, args)], cwd=cwd, capture_output=True, text=True)
    return p.returncode, p.stdout, p.stderr


def crlf_lines(path):
    """The lines of a text file with CR LF ends (bytes as Latin-1)."""
    return pathlib.Path(path).read_bytes().decode("latin-1").split("\r\n")


@pytest.fixture
def veltra_binary():
    if not VELTRA.exists():
        pytest.fail(f"no built veltra program at {VELTRA} (set VELTRA_BINARY)")
    return VELTRA
